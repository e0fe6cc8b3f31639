// The touchpad and keyboard of the web remote, as steps for SendInput: named keys
// and their virtual keys, text as UTF-16 units, held buttons and modifiers kept
// track of so that none is ever left down. Plain C++, no platform calls.
#pragma once
#include <string>
#include <vector>

enum InputEventType
{
    INPUT_EVENT_MOVE,
    INPUT_EVENT_BUTTON,
    INPUT_EVENT_CLICK,
    INPUT_EVENT_WHEEL,
    INPUT_EVENT_TEXT,
    INPUT_EVENT_KEY,
    INPUT_EVENT_MOD
};

enum InputButton
{
    INPUT_BUTTON_LEFT,
    INPUT_BUTTON_RIGHT,
    INPUT_BUTTON_MIDDLE,
    INPUT_BUTTON_COUNT
};

// Modifier bits, in the order of their table (ModifierKey).
const unsigned INPUT_MOD_CTRL = 1;
const unsigned INPUT_MOD_ALT = 2;
const unsigned INPUT_MOD_SHIFT = 4;
const unsigned INPUT_MOD_WIN = 8;
const int INPUT_MOD_COUNT = 4;

// What the page may ask for in one event; beyond, the message is refused.
const int INPUT_MAX_MOVE = 32767;
const int INPUT_MAX_WHEEL = 120 * 100;
const size_t INPUT_MAX_TEXT_UNITS = 4096;

struct InputKey
{
    unsigned short nVirtualKey;
    // Set 1; 0 for letters and digits, whose scan code depends on the layout and
    // is asked of the system.
    unsigned short nScanCode;
    bool bExtended; // Windows tells these apart from the keypad's by this flag
};

struct InputEvent
{
    int nType;
    int nDx, nDy;            // move: pixels; wheel: 1/120ths of a notch, +dy down, +dx right
    int nButton;             // button, click
    bool bDown;              // button, mod
    unsigned nMods;          // key: modifiers held around it; mod: the one modifier
    InputKey key;            // key
    std::vector<unsigned short> text; // text: UTF-16 units
};

// The key of a name of the page ("Enter", "PgUp", "F5", "A", "7"); false for none.
bool FindInputKey(const std::string& name, InputKey* pKey);
// The key of one modifier bit.
InputKey ModifierKey(unsigned nModifier);

enum InputStepType
{
    INPUT_STEP_MOVE,   // nDx, nDy relative pixels
    INPUT_STEP_BUTTON, // nButton, bUp
    INPUT_STEP_WHEEL,  // nDx (horizontal) or nDy (vertical), as Windows counts them
    INPUT_STEP_KEY,    // key (virtual key, scan code, extended), bUp
    INPUT_STEP_UNIT    // nUnit, bUp: one UTF-16 unit typed
};

struct InputStep
{
    int nType;
    int nDx, nDy;
    int nButton;
    bool bUp;
    InputKey key;
    unsigned short nUnit;
};

// The normalised absolute coordinate (0..65535) that lands on nPixel of a
// virtual screen starting at nOrigin, nSize pixels wide: the middle of the pixel,
// so that however the system rounds, it stays on that pixel.
int AbsoluteCoordinate(int nPixel, int nOrigin, int nSize);

// The buttons and modifiers one browser holds on the PC, and the steps each event
// takes from there. A move that follows a move in the steps is merged into it:
// the pointer goes where they sum to, in one step. A button or modifier is pressed only when it is up and
// released only when this tracker pressed it.
class CInputTracker
{
public:
    CInputTracker();
    void Plan(const InputEvent& event, std::vector<InputStep>* pSteps);
    // The steps that let go of everything held.
    void ReleaseAll(std::vector<InputStep>* pSteps);
    bool IsHoldingAnything() const;
    unsigned HeldModifiers() const { return m_nHeldMods; }

private:
    void PlanButton(int nButton, bool bDown, std::vector<InputStep>* pSteps);
    void PlanKey(const InputEvent& event, std::vector<InputStep>* pSteps);
    void PlanText(const std::vector<unsigned short>& text, std::vector<InputStep>* pSteps);
    void PlanModifier(unsigned nModifier, bool bDown, std::vector<InputStep>* pSteps);

    unsigned m_nHeldMods;
    bool m_bHeldButtons[INPUT_BUTTON_COUNT];
};
