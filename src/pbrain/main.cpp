// pbrain-korvana: the Kumo98 engine (or, with --builtin, the program's
// built-in search) as a Gomocup engine on standard input and output.
#include "pbrain/BuiltinPbrainEngine.h"
#include "pbrain/KumoPbrainEngine.h"
#include "pbrain/PbrainSession.h"

#include <cstdlib>
#include <cstring>
#include <functional>
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
    // Every reply line is flushed as it is written: nothing is lost by a quick
    // exit. An engine that cannot stop is let finish its move instead.
    std::function<void()> stuck;
    if (engine->stoppable())
        stuck = [] { std::_Exit(0); };
    session.run(0, std::cout, stuck);
    return 0;
}
