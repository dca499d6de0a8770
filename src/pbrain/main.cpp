// pbrain-korvana: the Kumo98 engine (or, with --builtin, the program's
// built-in search) as a Gomocup engine on standard input and output.
#include "pbrain/BuiltinPbrainEngine.h"
#include "pbrain/KumoPbrainEngine.h"
#include "pbrain/PbrainSession.h"

#include <cstring>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char **argv)
{
    using namespace korvana::pbrain;
    std::unique_ptr<PbrainEngine> engine;
    if (argc == 2 && std::strcmp(argv[1], "--builtin") == 0) {
        engine = std::make_unique<BuiltinPbrainEngine>();
    } else if (argc == 1) {
        engine = std::make_unique<KumoPbrainEngine>();
    } else {
        std::cerr << "usage: pbrain-korvana [--builtin]\n";
        return 2;
    }
    PbrainSession session(*engine);
    // A line longer than this is no protocol line: its rest is dropped, so
    // memory stays bounded whatever comes in.
    constexpr size_t MaxLine = 4096;
    std::string line;
    bool tooLong = false;
    int c;
    while ((c = std::cin.get()) != EOF) {
        if (c != '\n') {
            if (line.size() < MaxLine)
                line.push_back(static_cast<char>(c));
            else
                tooLong = true;
            continue;
        }
        if (tooLong)
            std::cout << "ERROR line too long" << std::endl;
        else if (!session.handleLine(line, std::cout))
            return 0;
        line.clear();
        tooLong = false;
    }
    if (!line.empty() && !tooLong)
        session.handleLine(line, std::cout);
    return 0;
}
