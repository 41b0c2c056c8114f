// Vortiq: the program's entry. It reads no arguments.
#include "shell/shell.h"

int main() { return runGame(); }
