#pragma once
// Kumo98Dll: the engine library that answers under the WC1998 rule. Loaded
// once (normally libkumo98.so beside the program) and kept; each call looks
// its entry point up by name, so a library lacking one entry still serves the
// others. Calls may come from any thread; loading happens before any worker.

#include "kumo98/KumoAnalysisApi.h"

#include <cstdint>
#include <string>

namespace korvana {

class Kumo98Dll {
public:
    /// File name of the library beside the program.
    static constexpr const char *LibraryName = "libkumo98.so";
    /// Answer of every call when the library or the entry point is missing.
    static constexpr int Unavailable = -1;

    /// Nothing loaded.
    Kumo98Dll() = default;
    Kumo98Dll(const Kumo98Dll &) = delete;
    Kumo98Dll &operator=(const Kumo98Dll &) = delete;
    /// Releases the library.
    ~Kumo98Dll();

    /// The program's instance.
    static Kumo98Dll &instance();

    /// Loads the library at `path` (replacing any loaded one). False, with
    /// nothing loaded, when it cannot be loaded; the reason is in lastError().
    bool Load(const std::string &path);
    /// Loads LibraryName from `directory` (given with its trailing '/').
    bool LoadFromDirectory(const std::string &directory);
    /// Releases the library; every call answers Unavailable afterwards.
    void Unload();
    bool loaded() const { return handle_ != nullptr; }
    const std::string &lastError() const { return lastError_; }
    /// True when the library exports `entry`.
    bool hasEntry(const char *entry) const;

    // Each answers the library's result, or Unavailable without calling
    // anything (and without writing any out value). The caller judges the low
    // byte of a result; 255 is the engine's failure.

    /// The engine's move after `count` moves given as point codes.
    int Thinking(int count, uint8_t *moves);
    /// Which of the two proposed fifth moves to remove: its code into `removed`.
    int ThinkingWhichRemove(uint8_t *moves, uint8_t codeA, uint8_t codeB, uint8_t &removed);
    /// Black's two fifth-move proposals.
    int ThinkingShowTwoPoint(uint8_t *moves, uint8_t &first, uint8_t &second);
    /// 'B' into `colour` when the engine takes Black.
    int ThinkingWhichColor(uint8_t *moves, char &colour);
    /// Opening index 0..25 into `index`.
    int ThinkingSelectOpeningPattern(uint8_t &index);
    /// The library's text about itself; `text` has room for 256 bytes.
    int About(char *text);

    /// The engine's time per move in milliseconds (its environment variable
    /// still wins); 0, or Unavailable.
    int SetMoveTime(int ms);

    // Analysis: these may run beside Thinking; StopAnalysis from any thread.

    /// Analyses until `timeMs` passes (0: until StopAnalysis), reporting through
    /// `callback` on the calling thread. The best move's code, 255 on failure.
    int Analyse(int count, const uint8_t *moves, int timeMs, KumoAnalysisCallback callback, void *user);
    /// Makes a running Analyse or FindForcedWin return soon; 0, or Unavailable.
    int StopAnalysis();
    /// A forced win for the side to move within `timeMs`: 1 VCF, 2 VCT, 0 none,
    /// 255 bad position; the line (attacker first) into `line`, its length into `lineLength`.
    int FindForcedWin(int count, const uint8_t *moves, int timeMs, uint8_t *line, int maxLine, int &lineLength);

private:
    void *entry(const char *name) const;

    void *handle_ = nullptr;
    std::string lastError_;
};

} // namespace korvana
