#include "InputInjector.h"
#include <algorithm>

static const DWORD s_buttonDown[INPUT_BUTTON_COUNT] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN,
                                                       MOUSEEVENTF_MIDDLEDOWN};
static const DWORD s_buttonUp[INPUT_BUTTON_COUNT] = {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP,
                                                     MOUSEEVENTF_MIDDLEUP};

CInputInjector::CInputInjector()
    : m_bPlaying(false), m_bStopped(false), m_wake(CreateEventA(NULL, FALSE, FALSE, NULL)),
      m_bMoved(false)
{
    m_seenBefore.x = m_seenBefore.y = m_sentTo.x = m_sentTo.y = 0;
}

CInputInjector::~CInputInjector()
{
    Stop();
}

void CInputInjector::Stop()
{
    if (m_worker.IsRunning())
    {
        m_worker.RequestStop();
        // SendInput returns promptly: the thread is waited for, never cut off.
        m_worker.Join(INFINITE);
    }
    {
        std::lock_guard<std::mutex> queue(m_queueLock);
        m_bStopped = true;
        m_pending.clear();
    }
    ReleaseAll();
}

void CInputInjector::WorkerBody(CWorkerThread& thread, void* pParam)
{
    CInputInjector* pSelf = static_cast<CInputInjector*>(pParam);
    HANDLE waits[2] = {thread.GetStopEvent(), pSelf->m_wake.Get()};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1)
        pSelf->Drain();
}

void CInputInjector::Submit(const std::vector<InputEvent>& events)
{
    std::lock_guard<std::mutex> queue(m_queueLock);
    if (m_bStopped || !m_wake.IsValid())
        return;
    if (!m_worker.IsRunning() && !m_worker.Start(WorkerBody, this))
        return;
    m_pending.insert(m_pending.end(), events.begin(), events.end());
    SetEvent(m_wake.Get());
}

bool CInputInjector::Play(const std::vector<InputEvent>& events)
{
    {
        std::lock_guard<std::mutex> queue(m_queueLock);
        if (m_bStopped)
            return false;
        m_pending.insert(m_pending.end(), events.begin(), events.end());
    }
    return Drain();
}

bool CInputInjector::Drain()
{
    {
        std::lock_guard<std::mutex> queue(m_queueLock);
        if (m_bPlaying)
            return true;
        m_bPlaying = true;
    }
    bool bAll = true;
    for (;;)
    {
        std::vector<InputEvent> batch;
        {
            std::lock_guard<std::mutex> queue(m_queueLock);
            batch.swap(m_pending);
            if (batch.empty())
            {
                m_bPlaying = false;
                return bAll;
            }
        }
        std::lock_guard<std::mutex> tracker(m_trackerLock);
        std::vector<InputStep> steps;
        for (size_t i = 0; i < batch.size(); i++)
            m_tracker.Plan(batch[i], &steps);
        if (!Inject(steps))
            bAll = false;
    }
}

void CInputInjector::ReleaseAll()
{
    std::lock_guard<std::mutex> tracker(m_trackerLock);
    std::vector<InputStep> steps;
    m_tracker.ReleaseAll(&steps);
    Inject(steps);
}

bool CInputInjector::IsHoldingAnything()
{
    std::lock_guard<std::mutex> tracker(m_trackerLock);
    return m_tracker.IsHoldingAnything();
}

// A move goes to where the pointer is plus the delta, as an absolute position:
// Windows' pointer acceleration applies to relative moves only, and the phone has
// accelerated them already.
static INPUT MoveInput(const InputStep& step, POINT* pAt)
{
    int nLeft = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int nTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int nWidth = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int nHeight = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    pAt->x = (std::max)(nLeft, (std::min)(nLeft + nWidth - 1, static_cast<int>(pAt->x) + step.nDx));
    pAt->y = (std::max)(nTop, (std::min)(nTop + nHeight - 1, static_cast<int>(pAt->y) + step.nDy));
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = AbsoluteCoordinate(pAt->x, nLeft, nWidth);
    input.mi.dy = AbsoluteCoordinate(pAt->y, nTop, nHeight);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return input;
}

static INPUT KeyInput(const InputStep& step)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    DWORD nUp = step.bUp ? KEYEVENTF_KEYUP : 0;
    if (step.nType == INPUT_STEP_UNIT)
    {
        input.ki.wScan = step.nUnit;
        input.ki.dwFlags = KEYEVENTF_UNICODE | nUp;
        return input;
    }
    // The layout's own scan code where it has one: letters move between layouts.
    UINT nScan = MapVirtualKeyW(step.key.nVirtualKey, MAPVK_VK_TO_VSC);
    input.ki.wVk = step.key.nVirtualKey;
    input.ki.wScan = static_cast<WORD>(nScan ? nScan : step.key.nScanCode);
    input.ki.dwFlags = (step.key.bExtended ? KEYEVENTF_EXTENDEDKEY : 0) | nUp;
    return input;
}

static INPUT StepInput(const InputStep& step, POINT* pAt)
{
    if (step.nType == INPUT_STEP_MOVE)
        return MoveInput(step, pAt);
    if (step.nType == INPUT_STEP_KEY || step.nType == INPUT_STEP_UNIT)
        return KeyInput(step);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    if (step.nType == INPUT_STEP_BUTTON)
    {
        input.mi.dwFlags = step.bUp ? s_buttonUp[step.nButton] : s_buttonDown[step.nButton];
        return input;
    }
    // The wheel's amount is signed, carried in a DWORD.
    input.mi.dwFlags = step.nDx != 0 ? MOUSEEVENTF_HWHEEL : MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(step.nDx != 0 ? step.nDx : step.nDy);
    return input;
}

// Where the pointer is (*pAt), and where the system says it is (*pSaid). The
// system takes injected input in on a thread of its own, and may still tell
// where the pointer was before the last move: while it tells that same place,
// the last move, still to be applied, is where the pointer is.
bool CInputInjector::PointerNow(POINT* pAt, POINT* pSaid)
{
    if (!GetCursorPos(pSaid))
        return false;
    bool bStale = m_bMoved && pSaid->x == m_seenBefore.x && pSaid->y == m_seenBefore.y;
    *pAt = bStale ? m_sentTo : *pSaid;
    return true;
}

bool CInputInjector::Inject(const std::vector<InputStep>& steps)
{
    if (steps.empty())
        return true;
    POINT at = {0, 0};
    POINT said = {0, 0};
    bool bKnowWhere = false;
    std::vector<INPUT> inputs;
    inputs.reserve(steps.size());
    for (size_t i = 0; i < steps.size(); i++)
    {
        // Later moves of the batch start where the earlier ones went.
        if (steps[i].nType == INPUT_STEP_MOVE && !bKnowWhere)
        {
            bKnowWhere = PointerNow(&at, &said);
        }
        if (steps[i].nType == INPUT_STEP_MOVE && !bKnowWhere)
            continue;
        inputs.push_back(StepInput(steps[i], &at));
    }
    UINT nCount = static_cast<UINT>(inputs.size());
    bool bSent = nCount == 0 || SendInput(nCount, &inputs[0], sizeof(INPUT)) == nCount;
    if (bKnowWhere)
    {
        m_seenBefore = said;
        m_sentTo = at;
        m_bMoved = bSent;
    }
    return bSent;
}
