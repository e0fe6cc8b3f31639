#include "InputPlan.h"

struct NamedKey
{
    const char* pszName;
    InputKey key;
};

// Virtual keys and set-1 scan codes; the extended ones are those Windows tells
// apart from the numeric keypad's keys of the same code.
static const NamedKey s_namedKeys[] = {
    {"Esc", {0x1B, 0x01, false}},       {"Tab", {0x09, 0x0F, false}},
    {"Enter", {0x0D, 0x1C, false}},     {"Backspace", {0x08, 0x0E, false}},
    {"Delete", {0x2E, 0x53, true}},     {"Insert", {0x2D, 0x52, true}},
    {"Up", {0x26, 0x48, true}},         {"Down", {0x28, 0x50, true}},
    {"Left", {0x25, 0x4B, true}},       {"Right", {0x27, 0x4D, true}},
    {"Home", {0x24, 0x47, true}},       {"End", {0x23, 0x4F, true}},
    {"PgUp", {0x21, 0x49, true}},       {"PgDn", {0x22, 0x51, true}},
    {"F1", {0x70, 0x3B, false}},        {"F2", {0x71, 0x3C, false}},
    {"F3", {0x72, 0x3D, false}},        {"F4", {0x73, 0x3E, false}},
    {"F5", {0x74, 0x3F, false}},        {"F6", {0x75, 0x40, false}},
    {"F7", {0x76, 0x41, false}},        {"F8", {0x77, 0x42, false}},
    {"F9", {0x78, 0x43, false}},        {"F10", {0x79, 0x44, false}},
    {"F11", {0x7A, 0x57, false}},       {"F12", {0x7B, 0x58, false}},
    {"Win", {0x5B, 0x5B, true}},
};

// Ctrl, Alt, Shift and the left Win key, in the order of the modifier bits.
static const InputKey s_modifierKeys[INPUT_MOD_COUNT] = {
    {0x11, 0x1D, false}, {0x12, 0x38, false}, {0x10, 0x2A, false}, {0x5B, 0x5B, true}};

bool FindInputKey(const std::string& name, InputKey* pKey)
{
    if (name.size() == 1)
    {
        // Letters and digits have the virtual key of their upper-case character.
        char c = name[0];
        bool bKey = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (bKey)
        {
            InputKey key = {static_cast<unsigned short>(c), 0, false};
            *pKey = key;
        }
        return bKey;
    }
    for (size_t i = 0; i < sizeof(s_namedKeys) / sizeof(s_namedKeys[0]); i++)
    {
        if (name == s_namedKeys[i].pszName)
        {
            *pKey = s_namedKeys[i].key;
            return true;
        }
    }
    return false;
}

InputKey ModifierKey(unsigned nModifier)
{
    for (int i = 0; i < INPUT_MOD_COUNT; i++)
    {
        if (nModifier == (1u << i))
            return s_modifierKeys[i];
    }
    return s_modifierKeys[0];
}

int AbsoluteCoordinate(int nPixel, int nOrigin, int nSize)
{
    if (nSize <= 0)
        return 0;
    long long nOffset = static_cast<long long>(nPixel) - nOrigin;
    if (nOffset < 0)
        nOffset = 0;
    if (nOffset >= nSize)
        nOffset = nSize - 1;
    long long nValue = (nOffset * 65536 + 32768) / nSize;
    return nValue > 65535 ? 65535 : static_cast<int>(nValue);
}

static InputStep MakeStep(int nType)
{
    InputStep step = {};
    step.nType = nType;
    return step;
}

static void AddKey(const InputKey& key, bool bUp, std::vector<InputStep>* pSteps)
{
    InputStep step = MakeStep(INPUT_STEP_KEY);
    step.key = key;
    step.bUp = bUp;
    pSteps->push_back(step);
}

static void AddKeyPress(const InputKey& key, std::vector<InputStep>* pSteps)
{
    AddKey(key, false, pSteps);
    AddKey(key, true, pSteps);
}

CInputTracker::CInputTracker() : m_nHeldMods(0)
{
    for (int i = 0; i < INPUT_BUTTON_COUNT; i++)
        m_bHeldButtons[i] = false;
}

bool CInputTracker::IsHoldingAnything() const
{
    for (int i = 0; i < INPUT_BUTTON_COUNT; i++)
    {
        if (m_bHeldButtons[i])
            return true;
    }
    return m_nHeldMods != 0;
}

void CInputTracker::Plan(const InputEvent& event, std::vector<InputStep>* pSteps)
{
    switch (event.nType)
    {
    case INPUT_EVENT_MOVE:
    {
        if (!pSteps->empty() && pSteps->back().nType == INPUT_STEP_MOVE)
        {
            pSteps->back().nDx += event.nDx;
            pSteps->back().nDy += event.nDy;
            return;
        }
        InputStep step = MakeStep(INPUT_STEP_MOVE);
        step.nDx = event.nDx;
        step.nDy = event.nDy;
        pSteps->push_back(step);
        return;
    }
    case INPUT_EVENT_BUTTON:
        PlanButton(event.nButton, event.bDown, pSteps);
        return;
    case INPUT_EVENT_CLICK:
        // A click of a held button only lets it go, as a real one would.
        if (!m_bHeldButtons[event.nButton])
            PlanButton(event.nButton, true, pSteps);
        PlanButton(event.nButton, false, pSteps);
        return;
    case INPUT_EVENT_WHEEL:
        // Windows counts the vertical wheel away from the user, the page down.
        if (event.nDy != 0)
        {
            InputStep step = MakeStep(INPUT_STEP_WHEEL);
            step.nDy = -event.nDy;
            pSteps->push_back(step);
        }
        if (event.nDx != 0)
        {
            InputStep step = MakeStep(INPUT_STEP_WHEEL);
            step.nDx = event.nDx;
            pSteps->push_back(step);
        }
        return;
    case INPUT_EVENT_TEXT:
        PlanText(event.text, pSteps);
        return;
    case INPUT_EVENT_KEY:
        PlanKey(event, pSteps);
        return;
    case INPUT_EVENT_MOD:
        PlanModifier(event.nMods, event.bDown, pSteps);
        return;
    }
}

void CInputTracker::PlanButton(int nButton, bool bDown, std::vector<InputStep>* pSteps)
{
    if (nButton < 0 || nButton >= INPUT_BUTTON_COUNT || m_bHeldButtons[nButton] == bDown)
        return;
    m_bHeldButtons[nButton] = bDown;
    InputStep step = MakeStep(INPUT_STEP_BUTTON);
    step.nButton = nButton;
    step.bUp = !bDown;
    pSteps->push_back(step);
}

void CInputTracker::PlanModifier(unsigned nModifier, bool bDown, std::vector<InputStep>* pSteps)
{
    bool bHeld = (m_nHeldMods & nModifier) != 0;
    if (bHeld == bDown)
        return;
    m_nHeldMods = bDown ? (m_nHeldMods | nModifier) : (m_nHeldMods & ~nModifier);
    AddKey(ModifierKey(nModifier), !bDown, pSteps);
}

// The modifiers asked for that are not held already go down around the key, and
// up after it in reverse order; the held ones stay as they are.
void CInputTracker::PlanKey(const InputEvent& event, std::vector<InputStep>* pSteps)
{
    unsigned nAround = event.nMods & ~m_nHeldMods;
    for (int i = 0; i < INPUT_MOD_COUNT; i++)
    {
        if (nAround & (1u << i))
            AddKey(ModifierKey(1u << i), false, pSteps);
    }
    AddKeyPress(event.key, pSteps);
    for (int i = INPUT_MOD_COUNT - 1; i >= 0; i--)
    {
        if (nAround & (1u << i))
            AddKey(ModifierKey(1u << i), true, pSteps);
    }
}

// Line ends and tabs are keys to the applications that read them ("\r\n" is one
// Enter); every other unit is typed as itself, the two of a surrogate pair in turn.
void CInputTracker::PlanText(const std::vector<unsigned short>& text,
                             std::vector<InputStep>* pSteps)
{
    InputKey enter = {};
    InputKey tab = {};
    FindInputKey("Enter", &enter);
    FindInputKey("Tab", &tab);
    for (size_t i = 0; i < text.size(); i++)
    {
        unsigned short nUnit = text[i];
        if (nUnit == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        if (nUnit == '\r' || nUnit == '\n')
        {
            AddKeyPress(enter, pSteps);
            continue;
        }
        if (nUnit == '\t')
        {
            AddKeyPress(tab, pSteps);
            continue;
        }
        InputStep step = MakeStep(INPUT_STEP_UNIT);
        step.nUnit = nUnit;
        pSteps->push_back(step);
        step.bUp = true;
        pSteps->push_back(step);
    }
}

void CInputTracker::ReleaseAll(std::vector<InputStep>* pSteps)
{
    for (int i = 0; i < INPUT_BUTTON_COUNT; i++)
        PlanButton(i, false, pSteps);
    for (int i = INPUT_MOD_COUNT - 1; i >= 0; i--)
        PlanModifier(1u << i, false, pSteps);
}
