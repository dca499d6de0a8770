/* The analysis entries of libkumo98.so, beside its six move and opening entries.
   Plain C so that the program and the library share it without sharing types. */
#ifndef KORVANA_KUMO_ANALYSIS_API_H
#define KORVANA_KUMO_ANALYSIS_API_H

#ifdef __cplusplus
extern "C" {
#endif

/* One report of a running analysis; every move is a point code 0..224. */
struct KumoAnalysisInfo {
    int depth;                /* last finished iteration (0: threat search only) */
    int score;                /* engine value for the side to move */
    int winPermille;          /* 0..1000: win chance of the side to move */
    int mateIn;               /* > 0: the side to move wins in this many of its own moves; < 0: loses; 0: not known */
    unsigned long long nodes; /* nodes so far */
    int elapsedMs;            /* since Analyse started */
    int pvLength;             /* expected line, first move by the side to move */
    unsigned char pv[32];
    int candidateCount; /* best root moves, best first, with their values */
    unsigned char candidates[8];
    int candidateScores[8];
};
typedef void (*KumoAnalysisCallback)(const struct KumoAnalysisInfo *info, void *user);

/* Analyses the position given as `count` point codes (Black first, alternating) until `timeMs`
   has passed (0: until StopAnalysis). Calls `callback` on the calling thread after every finished
   iteration, at least every 250 ms while it runs, and once at the end. Returns the best move,
   or 255 for a bad buffer (code above 224, a repeat), a finished game (a five on the board) or a
   full board. Analyse has its own engine state: it never makes Thinking and the other entries
   wait, and they never wait for it. One Analyse at a time (a second concurrent call answers 255
   at once). */
int Analyse(int count, const unsigned char *moves, int timeMs, KumoAnalysisCallback callback, void *user);

/* Makes a running Analyse return within 50 ms; any thread; harmless when none runs. */
void StopAnalysis(void);

/* Forced win for the side to move: continuous fours (VCF) first, then threes and fours (VCT),
   within `timeMs`. Writes the winning line (attacker's and defender's moves alternating, the
   attacker's first, at most `maxLine` codes) to `line` and its length to *lineLength.
   Returns 1 (VCF found), 2 (VCT found), 0 (none found in time), 255 (bad buffer, game over).
   Black's forbidden points are respected on both sides. Also stopped by StopAnalysis. */
int FindForcedWin(int count, const unsigned char *moves, int timeMs, unsigned char *line, int maxLine, int *lineLength);

#ifdef __cplusplus
}
#endif

#endif
