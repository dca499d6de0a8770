#include "game/BoardAnalysis.h"

#include "board/Point.h"
#include "settings/KvParam.h"

#include <algorithm>

namespace korvana {

namespace {

std::vector<uint8_t> codesOf(const BanHistory &history)
{
    std::vector<uint8_t> codes;
    codes.reserve(history.moves().size());
    for (const MovedPos &m : history.moves())
        codes.push_back(pointOf(m.x, m.y));
    return codes;
}

std::string lineText(const std::vector<uint8_t> &line)
{
    std::string text;
    for (uint8_t p : line)
        text += (text.empty() ? "" : " ") + writtenPoint(p);
    return text;
}

} // namespace

BoardAnalysis::BoardAnalysis(GameWindow &window, Kumo98Dll &library, const KvParam &settings)
    : window_(window), settings_(settings),
      worker_(
          library, [&window](std::function<void()> call) { window.postToGuiThread(std::move(call)); },
          [this](const AnalysisReport &r) { OnReport(r); }, [this](const ForcedWinReport &r) { OnForcedWin(r); })
{}

void BoardAnalysis::SetEnabled(bool on)
{
    if (on == worker_.enabled())
        return;
    latest_ = AnalysisReport{};
    worker_.SetEnabled(on);
    if (showOnBoard_)
        window_.redraw(); // the marks go or wait for the first report
}

void BoardAnalysis::SetShowOnBoard(bool on)
{
    showOnBoard_ = on;
    window_.redraw();
}

void BoardAnalysis::PositionChanged(const BanHistory &history)
{
    const uint64_t before = worker_.position();
    moveCount_ = history.count();
    worker_.SetPosition(codesOf(history));
    if (worker_.position() == before)
        return;
    // What was found belongs to the old position.
    latest_ = AnalysisReport{};
    latest_.position = worker_.position();
    ghostLine_.clear();
}

void BoardAnalysis::FindForcedWin(const BanHistory &history)
{
    PositionChanged(history);
    if (!ghostLine_.empty()) {
        ghostLine_.clear();
        window_.redraw();
    }
    window_.setStatusText("Searching for a forced win");
    worker_.FindForcedWin(ForcedWinMs());
}

bool BoardAnalysis::ClearForcedWin()
{
    if (ghostLine_.empty())
        return false;
    ghostLine_.clear();
    window_.redraw();
    return true;
}

std::vector<uint8_t> BoardAnalysis::marks() const
{
    std::vector<uint8_t> points;
    if (showOnBoard_ && worker_.enabled())
        for (const AnalysisCandidate &c : latest_.candidates)
            points.push_back(c.point);
    return points;
}

int BoardAnalysis::ForcedWinMs() const
{
    const int ms = settings_.get(Settings::ForcedWinTime);
    return std::clamp(ms > 0 ? ms : DefaultForcedWinMs, 100, 600000);
}

void BoardAnalysis::OnReport(const AnalysisReport &report)
{
    if (!worker_.enabled())
        return;
    const bool marksMoved = showOnBoard_ && report.candidates != latest_.candidates;
    latest_ = report;
    window_.showAnalysis(report, moveCount_);
    if (marksMoved)
        window_.redraw();
}

void BoardAnalysis::OnForcedWin(const ForcedWinReport &report)
{
    const std::string side = colourToMove(moveCount_) == Black ? "Black" : "White";
    switch (report.kind) {
    case ForcedWinReport::Vcf:
    case ForcedWinReport::Vct: {
        ghostLine_ = report.line;
        const int moves = static_cast<int>((report.line.size() + 1) / 2);
        window_.setStatusText(std::string(report.kind == ForcedWinReport::Vcf ? "VCF" : "VCT") + ": " + side +
                              " wins in " + std::to_string(moves) + (moves == 1 ? " move: " : " moves: ") +
                              lineText(report.line));
        window_.redraw();
        break;
    }
    case ForcedWinReport::None: window_.setStatusText("No forced win found"); break;
    case ForcedWinReport::Unavailable: window_.setStatusText("The engine library cannot search for forced wins"); break;
    default: window_.setStatusText("No forced win to search for in this position"); break;
    }
}

} // namespace korvana
