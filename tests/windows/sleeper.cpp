// A program that does nothing but wait the seconds its argument gives, for
// tests that need a running process of a chosen executable name.
#include <chrono>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    return 0;
}
