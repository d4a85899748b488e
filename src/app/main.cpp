// quorvel: the GUI.

#include "app/Startup.h"

int main(int argc, char** argv) {
    return quorvel::RunQuorvel(argc, argv);
}
