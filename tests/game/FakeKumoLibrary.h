#pragma once
// The test engine library's controls, reached with dlopen on the same file
// Kumo98Dll loads, so both see one script. Resets the script on construction.

#include <dlfcn.h>

#include <cstdint>

namespace korvana::gametest {

struct FakeLibrary {
    void *handle = nullptr;
    void (*reset)() = nullptr;
    void (*queue)(int, int, int, int, int) = nullptr;
    int (*calls)(int) = nullptr;
    int (*lastMoves)(uint8_t *) = nullptr;
    int (*lastProposals)() = nullptr;
    // Analysis controls.
    void (*reportEvery)(int) = nullptr;
    int (*analyseCalls)(int *, int *) = nullptr;
    int (*analysedMoves)(uint8_t *) = nullptr;
    void (*forcedWin)(int, const uint8_t *, int, int) = nullptr;
    int (*forcedWinCalls)(int *) = nullptr;
    int (*moveTime)() = nullptr;

    FakeLibrary()
    {
        handle = dlopen(KORVANA_FAKE_KUMO98, RTLD_NOW);
        if (!handle)
            return;
        reset = reinterpret_cast<void (*)()>(dlsym(handle, "FakeKumoReset"));
        queue = reinterpret_cast<void (*)(int, int, int, int, int)>(dlsym(handle, "FakeKumoQueue"));
        calls = reinterpret_cast<int (*)(int)>(dlsym(handle, "FakeKumoCalls"));
        lastMoves = reinterpret_cast<int (*)(uint8_t *)>(dlsym(handle, "FakeKumoLastMoves"));
        lastProposals = reinterpret_cast<int (*)()>(dlsym(handle, "FakeKumoLastProposals"));
        reportEvery = reinterpret_cast<void (*)(int)>(dlsym(handle, "FakeKumoReportEvery"));
        analyseCalls = reinterpret_cast<int (*)(int *, int *)>(dlsym(handle, "FakeKumoAnalyseCalls"));
        analysedMoves = reinterpret_cast<int (*)(uint8_t *)>(dlsym(handle, "FakeKumoAnalysedMoves"));
        forcedWin = reinterpret_cast<void (*)(int, const uint8_t *, int, int)>(dlsym(handle, "FakeKumoForcedWin"));
        forcedWinCalls = reinterpret_cast<int (*)(int *)>(dlsym(handle, "FakeKumoForcedWinCalls"));
        moveTime = reinterpret_cast<int (*)()>(dlsym(handle, "FakeKumoMoveTime"));
        reset();
        reinterpret_cast<void (*)()>(dlsym(handle, "FakeKumoResetAnalysis"))();
    }
    ~FakeLibrary()
    {
        if (handle)
            dlclose(handle);
    }
    FakeLibrary(const FakeLibrary &) = delete;
    FakeLibrary &operator=(const FakeLibrary &) = delete;

    /// The entries, as the script numbers them.
    enum Entry { Thinking, WhichRemove, ShowTwo, WhichColor, Opening, About };
};

} // namespace korvana::gametest
