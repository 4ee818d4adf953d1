// The start-up floor: a C++ hello world.
#include <iostream>

int main() {
    std::cout << "hello, world\n";
    return 0;
}
