// The command line: --help and --version are answered here, before any
// window, sound or file of the player's is touched.
#include <cstring>
#include <string>

#include "shell/shell.h"

#ifndef VORTIQ_VERSION
#define VORTIQ_VERSION "unknown"
#endif

namespace {

struct Option {
    const char* shortName;
    const char* longName;
    CommandAction action;
    const char* meaning;
};

// Every option the game knows; --help lists them in this order.
const Option Options[] = {
    {"-h", "--help", CommandAction::Help, "show this help and exit"},
    {"-V", "--version", CommandAction::Version, "show the version and exit"},
};

const char* const HelpTop =
    "Usage: vortiq [OPTION]\n"
    "  or:  vortiq --replay FILE [--check]\n"
    "Vortiq, a gem-matching game: swap two neighbouring gems to line up three\n"
    "or more of a kind. Without options the game opens its window.\n"
    "\n"
    "Options:\n"
    "  --replay FILE       watch the game recorded in FILE: Space pauses, Right\n"
    "                      or + plays two or four times faster, Escape ends\n"
    "  --check             with --replay: play it through the rules alone, no\n"
    "                      window, and print where it ends\n";

const char* const HelpBottom =
    "\n"
    "Files:\n"
    "  The game reads and writes base/ in the folder it runs in. The vortiq\n"
    "  command runs it in $XDG_DATA_HOME/vortiq (~/.local/share/vortiq when\n"
    "  XDG_DATA_HOME is not set), so every player has their own:\n"
    "    base/hiscores   the high-score tables of both modes\n"
    "    base/data.inf   the game left unfinished, offered at the next start\n"
    "    base/menu.inf   the settings: full screen, music, sound\n"
    "  Delete base/hiscores or base/menu.inf to start them afresh.\n"
    "  Every game is recorded in replays/ beside base/: replays/last.vqr the\n"
    "  last one, and one file for the game of each high-score entry.\n"
    "\n"
    "Environment:\n"
    "  VORTIQ_SEED=N       deal the gems from seed N (a whole number) instead\n"
    "                      of the time of day, to play the same game again\n"
    "  VORTIQ_NO_VSYNC=1   draw frames without waiting for the display\n"
    "  VORTIQ_NO_FRAME_CAP=1\n"
    "                      draw frames as fast as the machine can, where\n"
    "                      the display does not pace them (to measure)\n"
    "\n"
    "Exit status: 0 when the game ends normally, 1 when it cannot start (no\n"
    "display, missing data), 2 for an option it does not know. --check: 0 when\n"
    "the game ends where the file says, 1 when elsewhere, 2 when the file cannot\n"
    "be read (also one recorded under older rules).\n"
    "The manual page vortiq(6) lists the keys.\n";

std::string helpText() {
    std::string text = HelpTop;
    for (const Option& option : Options) {
        std::string names = std::string("  ") + option.shortName + ", " + option.longName;
        names.resize(20, ' ');
        text += names + option.meaning + "\n";
    }
    return text + HelpBottom;
}

}  // namespace

CommandLine readCommandLine(int argc, const char* const* argv) {
    std::string replay;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--replay") == 0) {
            if (i + 1 >= argc) return {CommandAction::Refuse, "option '--replay' needs a file", ""};
            replay = argv[++i];
            continue;
        }
        if (std::strcmp(argument, "--check") == 0) {
            check = true;
            continue;
        }
        for (const Option& option : Options)
            if (std::strcmp(argument, option.shortName) == 0 || std::strcmp(argument, option.longName) == 0)
                return {option.action, std::string(), ""};
        if (argument[0] == '-')
            return {CommandAction::Refuse, std::string("unknown option '") + argument + "'", ""};
        return {CommandAction::Refuse, std::string("unexpected argument '") + argument + "'", ""};
    }
    if (!replay.empty()) return {check ? CommandAction::Check : CommandAction::Watch, std::string(), replay};
    if (check) return {CommandAction::Refuse, "option '--check' goes with '--replay FILE'", ""};
    return {CommandAction::Play, std::string(), ""};
}

int answerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.action) {
    case CommandAction::Help:
        std::fputs(helpText().c_str(), out);
        return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
    case CommandAction::Version:
        std::fputs("vortiq " VORTIQ_VERSION "\n", out);
        return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
    case CommandAction::Refuse:
        std::fprintf(err, "vortiq: %s\nTry 'vortiq --help' for more information.\n", line.complaint.c_str());
        return 2;
    case CommandAction::Play:
    case CommandAction::Watch:
    case CommandAction::Check:
        break;
    }
    return 0;
}
