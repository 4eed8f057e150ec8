#include <cstdio>

int main() {
    std::puts("velocitronimatics-cli: not yet");
    return 1;
}
