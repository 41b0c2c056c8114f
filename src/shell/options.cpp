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
    "Vortiq, a gem-matching game: swap two neighbouring gems to line up three\n"
    "or more of a kind. Without options the game opens its window.\n"
    "\n"
    "Options:\n";

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
    "display, missing data), 2 for an option it does not know.\n"
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
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        for (const Option& option : Options)
            if (std::strcmp(argument, option.shortName) == 0 || std::strcmp(argument, option.longName) == 0)
                return {option.action, std::string()};
        if (argument[0] == '-')
            return {CommandAction::Refuse, std::string("unknown option '") + argument + "'"};
        return {CommandAction::Refuse, std::string("unexpected argument '") + argument + "'"};
    }
    return {CommandAction::Play, std::string()};
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
        break;
    }
    return 0;
}
