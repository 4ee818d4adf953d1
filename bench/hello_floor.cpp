// The start-up floor: the smallest C++ program that writes a line.
#include <cstdio>

int main() {
    std::puts("hello, world");
    return 0;
}
