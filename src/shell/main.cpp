// Vortiq: the program's entry. The command line is answered before anything
// else, so --help and --version need no display and touch no file.
#include "shell/shell.h"

int main(int argc, char** argv) {
    const CommandLine line = readCommandLine(argc, argv);
    if (line.action != CommandAction::Play) return answerCommandLine(line, stdout, stderr);
    return runGame();
}
