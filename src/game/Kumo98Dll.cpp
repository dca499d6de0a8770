#include "game/Kumo98Dll.h"

#include <dlfcn.h>

namespace korvana {

namespace {

// The library's entries, C linkage, the last argument always 0.
using ThinkingFn = int (*)(int, uint8_t *, int);
using WhichRemoveFn = int (*)(uint8_t *, uint8_t, uint8_t, uint8_t *, int);
using ShowTwoPointFn = int (*)(uint8_t *, uint8_t *, uint8_t *, int);
using WhichColorFn = int (*)(uint8_t *, char *, int);
using SelectOpeningFn = int (*)(uint8_t *, int);
using AboutFn = int (*)(char *);
using AnalyseFn = int (*)(int, const unsigned char *, int, KumoAnalysisCallback, void *);
using StopAnalysisFn = void (*)();
using ForcedWinFn = int (*)(int, const unsigned char *, int, unsigned char *, int, int *);

} // namespace

Kumo98Dll::~Kumo98Dll() { Unload(); }

Kumo98Dll &Kumo98Dll::instance()
{
    static Kumo98Dll library;
    return library;
}

bool Kumo98Dll::Load(const std::string &path)
{
    Unload();
    lastError_.clear();
    // A bare name would make dlopen search the system paths; only the given
    // file may be loaded.
    if (path.find('/') == std::string::npos) {
        lastError_ = "not a path: " + path;
        return false;
    }
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        const char *why = dlerror();
        lastError_ = why ? why : "cannot load " + path;
        return false;
    }
    return true;
}

bool Kumo98Dll::LoadFromDirectory(const std::string &directory)
{
    std::string dir = directory.empty() ? "./" : directory;
    if (dir.back() != '/')
        dir += '/';
    return Load(dir + LibraryName);
}

void Kumo98Dll::Unload()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

void *Kumo98Dll::entry(const char *name) const { return handle_ ? dlsym(handle_, name) : nullptr; }

bool Kumo98Dll::hasEntry(const char *name) const { return entry(name) != nullptr; }

int Kumo98Dll::Thinking(int count, uint8_t *moves)
{
    auto fn = reinterpret_cast<ThinkingFn>(entry("Thinking"));
    return fn ? fn(count, moves, 0) : Unavailable;
}

int Kumo98Dll::ThinkingWhichRemove(uint8_t *moves, uint8_t codeA, uint8_t codeB, uint8_t &removed)
{
    auto fn = reinterpret_cast<WhichRemoveFn>(entry("ThinkingWhichRemove"));
    return fn ? fn(moves, codeA, codeB, &removed, 0) : Unavailable;
}

int Kumo98Dll::ThinkingShowTwoPoint(uint8_t *moves, uint8_t &first, uint8_t &second)
{
    auto fn = reinterpret_cast<ShowTwoPointFn>(entry("ThinkingShowTwoPoint"));
    return fn ? fn(moves, &first, &second, 0) : Unavailable;
}

int Kumo98Dll::ThinkingWhichColor(uint8_t *moves, char &colour)
{
    auto fn = reinterpret_cast<WhichColorFn>(entry("ThinkingWhichColor"));
    return fn ? fn(moves, &colour, 0) : Unavailable;
}

int Kumo98Dll::ThinkingSelectOpeningPattern(uint8_t &index)
{
    auto fn = reinterpret_cast<SelectOpeningFn>(entry("ThinkingSelectOpeningPattern"));
    return fn ? fn(&index, 0) : Unavailable;
}

int Kumo98Dll::About(char *text)
{
    auto fn = reinterpret_cast<AboutFn>(entry("About"));
    return fn ? fn(text) : Unavailable;
}

int Kumo98Dll::SetMoveTime(int ms)
{
    auto fn = reinterpret_cast<void (*)(int)>(entry("SetMoveTime"));
    if (!fn)
        return Unavailable;
    fn(ms);
    return 0;
}

int Kumo98Dll::Analyse(int count, const uint8_t *moves, int timeMs, KumoAnalysisCallback callback, void *user)
{
    auto fn = reinterpret_cast<AnalyseFn>(entry("Analyse"));
    return fn ? fn(count, moves, timeMs, callback, user) : Unavailable;
}

int Kumo98Dll::StopAnalysis()
{
    auto fn = reinterpret_cast<StopAnalysisFn>(entry("StopAnalysis"));
    if (!fn)
        return Unavailable;
    fn();
    return 0;
}

int Kumo98Dll::FindForcedWin(int count, const uint8_t *moves, int timeMs, uint8_t *line, int maxLine, int &lineLength)
{
    auto fn = reinterpret_cast<ForcedWinFn>(entry("FindForcedWin"));
    return fn ? fn(count, moves, timeMs, line, maxLine, &lineLength) : Unavailable;
}

} // namespace korvana
