#include "game/ThinkingThread.h"

#include "board/Point.h"
#include "game/Kumo98Dll.h"

#include <array>
#include <mutex>

namespace korvana {

namespace {

// The search reaches its stop flag through one process-wide pointer, read
// when a search starts. Two searches at once (a stopped one winding down, a
// new one starting) must not trade flags, so they take turns; a stopped search
// gives up at its next poll.
std::mutex searchTurn;

ThinkResult builtInSearch(const ThinkRequest &request, const BanHistory &history, StopFlag *stop)
{
    ThinkResult answer;
    answer.requestType = request.requestType;
    if (request.requestType != Request::Move) {
        answer.failed = Failure::NoAnswer; // never asked of this engine
        return answer;
    }
    int code;
    {
        std::lock_guard<std::mutex> turn(searchTurn);
        setThinkStopFlag(stop);
        code = thinkOnHistory(history, request.level, request.databaseDirectory);
        setThinkStopFlag(nullptr);
    }
    // The engine answers 0 for a position that is already over: not a free point.
    const BanArray board = history.toBoard();
    if (code < 0 || code >= PointCount || board.cells()[code] != Empty)
        answer.failed = Failure::NoAnswer;
    else
        answer.setA(code);
    return answer;
}

bool onBoardCode(int code) { return code >= 0 && code < PointCount; }

ThinkResult libraryRequest(const ThinkRequest &request, const BanHistory &history)
{
    ThinkResult answer;
    answer.requestType = request.requestType;
    const uint8_t type = request.requestType;
    if (type != Request::Move && (type < Request::WhichRemove || type > Request::OpeningPattern))
        return answer; // nothing to ask

    Kumo98Dll *library = request.library;
    if (!library) {
        answer.failed = Failure::LibraryMissing;
        return answer;
    }
    // Room for a full board and a little more, as the library expects.
    std::array<uint8_t, 228> moves{};
    int count = 0;
    for (const MovedPos &m : history.moves()) {
        if (count >= PointCount)
            break;
        moves[static_cast<size_t>(count++)] = pointOf(m.x, m.y);
    }

    int result = Kumo98Dll::Unavailable;
    switch (type) {
    case Request::Move:
        result = library->Thinking(count, moves.data());
        if (result != Kumo98Dll::Unavailable && (result & 0xff) != NoPointCode) {
            if (!onBoardCode(result & 0xff))
                answer.failed = Failure::NoAnswer;
            else
                answer.setA(result);
        }
        break;
    case Request::WhichRemove: {
        const int codeA = request.current.codeA();
        const int codeB = request.current.codeB();
        uint8_t removed = NoPointCode;
        result = library->ThinkingWhichRemove(moves.data(), static_cast<uint8_t>(codeA), static_cast<uint8_t>(codeB),
                                              removed);
        if (result == Kumo98Dll::Unavailable || (result & 0xff) == NoPointCode)
            break;
        // Only one of the two proposals may be removed; anything else would
        // play a point nobody proposed.
        if (removed != codeA && removed != codeB) {
            answer.failed = Failure::NoAnswer;
            break;
        }
        answer.setA(removed);
        answer.setB(answer.codeA() == codeA ? codeB : codeA);
        break;
    }
    case Request::ShowTwoPoints: {
        uint8_t first = NoPointCode, second = NoPointCode;
        result = library->ThinkingShowTwoPoint(moves.data(), first, second);
        if (result == Kumo98Dll::Unavailable || (result & 0xff) == NoPointCode)
            break;
        if (!onBoardCode(first) || !onBoardCode(second)) {
            answer.failed = Failure::NoAnswer;
            break;
        }
        answer.setA(first);
        answer.setB(second);
        break;
    }
    case Request::WhichColour: {
        char colour = 0;
        result = library->ThinkingWhichColor(moves.data(), colour);
        answer.colour = colour;
        break;
    }
    case Request::OpeningPattern: {
        uint8_t index = NoPointCode;
        result = library->ThinkingSelectOpeningPattern(index);
        answer.openingIndex = index;
        // The table has 26 openings; another index has no stones to place.
        if (index > 25)
            answer.failed = Failure::NoAnswer;
        break;
    }
    default: break;
    }
    if (result == Kumo98Dll::Unavailable)
        answer.failed = Failure::LibraryMissing;
    else if ((result & 0xff) == NoPointCode)
        answer.failed = Failure::NoAnswer;
    return answer;
}

} // namespace

ThinkingThread::ThinkingThread(ThinkRequest request, BanHistory history, uint64_t generation, Delivery deliver)
    : history_(std::move(history)), request_(std::move(request)), generation_(generation), deliver_(std::move(deliver))
{}

ThinkingThread::~ThinkingThread()
{
    Stop();
    Join();
}

void ThinkingThread::Start()
{
    if (!thread_.joinable() && !finished_.load())
        thread_ = std::thread(&ThinkingThread::Body, this);
}

void ThinkingThread::Join()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

ThinkResult ThinkingThread::Think(const ThinkRequest &request, const BanHistory &history, StopFlag *stop)
{
    if (request.engine == Engine::BuiltIn)
        return builtInSearch(request, history, stop);
    if (request.engine == Engine::Library)
        return libraryRequest(request, history);
    ThinkResult answer;
    answer.requestType = request.requestType;
    answer.failed = Failure::NoAnswer;
    return answer;
}

void ThinkingThread::Body()
{
    ThinkResult answer;
    answer.requestType = request_.requestType;
    try {
        answer = Think(request_, history_, &stop_);
    } catch (...) {
        answer.failed = Failure::NoAnswer;
    }
    // A library call cannot be interrupted: its answer is dropped instead.
    if (stop_.load())
        answer.failed = Failure::NoAnswer;
    if (deliver_)
        deliver_(generation_, answer);
    finished_.store(true);
}

} // namespace korvana
