// The command line: what each argument asks for, and what the answer prints
// and returns.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "shell/shell.h"

namespace {

CommandLine read(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "vortiq");
    return readCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

// The answer's exit status with what it printed to out and to err.
struct Answer {
    int status;
    std::string out, err;
};

std::string contents(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char chunk[512];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
    std::fclose(file);
    return text;
}

Answer answer(const CommandLine& line) {
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = answerCommandLine(line, out, err);
    return {status, contents(out), contents(err)};
}

TEST(CommandLine, NoArgumentsPlaysAndEachOptionHasBothSpellings) {
    EXPECT_EQ(read({}).action, CommandAction::Play);
    EXPECT_EQ(read({"-h"}).action, CommandAction::Help);
    EXPECT_EQ(read({"--help"}).action, CommandAction::Help);
    EXPECT_EQ(read({"-V"}).action, CommandAction::Version);
    EXPECT_EQ(read({"--version"}).action, CommandAction::Version);
    // The first argument that means something decides.
    EXPECT_EQ(read({"--version", "--help"}).action, CommandAction::Version);
    EXPECT_EQ(read({"--help", "--no-such"}).action, CommandAction::Help);
}

TEST(CommandLine, UnknownOptionsAndStrayArgumentsAreRefusedByName) {
    const CommandLine unknown = read({"--fullscreen"});
    EXPECT_EQ(unknown.action, CommandAction::Refuse);
    EXPECT_EQ(unknown.complaint, "unknown option '--fullscreen'");
    // Neither a near miss nor an option after a bad one slips through.
    EXPECT_EQ(read({"--hel"}).action, CommandAction::Refuse);
    EXPECT_EQ(read({"-hV"}).action, CommandAction::Refuse);
    EXPECT_EQ(read({"--no-such", "--help"}).action, CommandAction::Refuse);
    const CommandLine stray = read({"game.inf"});
    EXPECT_EQ(stray.action, CommandAction::Refuse);
    EXPECT_EQ(stray.complaint, "unexpected argument 'game.inf'");
    EXPECT_EQ(read({""}).action, CommandAction::Refuse);
}

TEST(CommandLine, AReplayIsWatchedOrCheckedAndNeedsItsFile) {
    EXPECT_EQ(read({"--replay", "a.vqr"}).action, CommandAction::Watch);
    EXPECT_EQ(read({"--replay", "a.vqr"}).replay, "a.vqr");
    EXPECT_EQ(read({"--check", "--replay", "b.vqr"}).action, CommandAction::Check);
    EXPECT_EQ(read({"--replay", "b.vqr", "--check"}).replay, "b.vqr");
    EXPECT_EQ(read({"--replay"}).complaint, "option '--replay' needs a file");
    EXPECT_EQ(read({"--check"}).action, CommandAction::Refuse);
}

TEST(CommandLine, HelpAndVersionPrintToOutAndSucceed) {
    const Answer help = answer(read({"--help"}));
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("Usage: vortiq [OPTION]\n", 0), 0u) << help.out;
    for (const char* needed : {"-h, --help", "-V, --version", "$XDG_DATA_HOME/vortiq", "~/.local/share/vortiq",
                               "base/hiscores", "base/data.inf", "base/menu.inf", "VORTIQ_SEED", "Exit status",
                               "--replay FILE", "replays/last.vqr"})
        EXPECT_NE(help.out.find(needed), std::string::npos) << needed;
    // Fits a terminal of 80 columns.
    size_t start = 0;
    for (size_t end; (end = help.out.find('\n', start)) != std::string::npos; start = end + 1)
        EXPECT_LE(end - start, 79u) << help.out.substr(start, end - start);

    const Answer version = answer(read({"-V"}));
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.err, "");
    EXPECT_EQ(version.out, "vortiq " VORTIQ_TEST_VERSION "\n");
}

TEST(CommandLine, ARefusalGoesToErrWithStatusTwo) {
    const Answer refused = answer(read({"--bogus"}));
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "vortiq: unknown option '--bogus'\nTry 'vortiq --help' for more information.\n");
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenFails) {
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(answerCommandLine(read({"--help"}), full, stderr), 1);
    EXPECT_EQ(answerCommandLine(read({"--version"}), full, stderr), 1);
    std::fclose(full);
}

}  // namespace
