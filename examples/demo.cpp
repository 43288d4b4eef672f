// Placeholder for the main example program: it only shows that an example
// links against fzl. The team replaces it with a real walk-through.

#include <iostream>

#include "support/Format.h"

int main() {
    std::cout << fzl::Format("fzl %s: the library links and formats %d + %.2f", {"demo", 1, 0.5}) << '\n';
    return 0;
}
