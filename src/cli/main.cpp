// quorvelctl: the command-line front end of the core.

#include "cli/Commands.h"

int main(int argc, char** argv) { return quorvel::cli::RunQuorvelctl(argc, argv); }
