#include <cstdio>

int main() {
    std::puts("quorvelctl: not yet wired");
    return 0;
}
