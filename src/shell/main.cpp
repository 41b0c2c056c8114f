// Vortiq: the program's entry. The command line is answered before anything
// else, so --help and --version need no display and touch no file.
#include "replay/replay.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
    const CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
        case CommandAction::Play: return runGame();
        case CommandAction::Watch: return watchReplay(line.replay.c_str());
        case CommandAction::Check: return checkReplay(line.replay.c_str(), stdout, stderr);
        default: return answerCommandLine(line, stdout, stderr);
    }
}
