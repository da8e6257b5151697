// Writes the bundled sample game: make_sample_game DIR (DIR is usually data/sample).

#include "SampleGame.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "Usage: make_sample_game DIR\n";
        return 2;
    }
    if (auto failure = tsl::sample::WriteSampleGame(argv[1])) {
        std::cerr << failure->caption << ": " << failure->text << "\n";
        return 1;
    }
    return 0;
}
