// Game controllers through SDL's game-controller interface: opened as they
// are connected (those present at start arrive the same way), closed as they
// go, their buttons and left stick turned into pad messages, and a held
// direction repeated the way a held arrow key is.
#include <SDL.h>

#include "platform/platform_local.h"

namespace {

constexpr int MaxPads = 8;
constexpr int PendingMessages = 8;
// Each pad's d-pad and buttons, and its left stick apart, hold a direction of
// their own: letting go of one leaves another's repeat running.
constexpr int MaxHolders = 2 * MaxPads;

struct Holder {
    uint8_t used;
    SDL_JoystickID pad;
    uint8_t stick;  // the left stick, else the d-pad
    // The stick's direction on each axis: -1, 0 or +1.
    int8_t stickX;
    int8_t stickY;
    // The direction that repeats while held, or -1, and when it next repeats.
    int32_t heldDirection;
    uint32_t nextRepeat;
};

struct PadState {
    uint8_t started;
    SDL_GameController* open[MaxPads];
    Holder holders[MaxHolders];
    WindowMessage pending[PendingMessages];
    int pendingCount;
};

PadState pads = {};

uint32_t (*padClock)() = SDL_GetTicks;

bool isDirection(PadButton button) {
    return button == PadButton::Up || button == PadButton::Down || button == PadButton::Left ||
           button == PadButton::Right;
}

Holder* holderOf(SDL_JoystickID pad, bool stick) {
    Holder* free = nullptr;
    for (Holder& holder : pads.holders) {
        if (holder.used && holder.pad == pad && holder.stick == (stick ? 1 : 0)) return &holder;
        if (!holder.used && !free) free = &holder;
    }
    if (!free) return nullptr;
    *free = Holder{1, pad, static_cast<uint8_t>(stick ? 1 : 0), 0, 0, -1, 0};
    return free;
}

void queue(Holder* holder, MessageKind kind, PadButton button) {
    if (pads.pendingCount >= PendingMessages) return;
    WindowMessage message = {};
    message.kind = kind;
    message.key = static_cast<int32_t>(button);
    pads.pending[pads.pendingCount++] = message;
    if (!holder || !isDirection(button)) return;
    if (kind == MessageKind::PadButtonDown) {
        holder->heldDirection = static_cast<int32_t>(button);
        holder->nextRepeat = padClock() + PadRepeatDelayMs;
    } else if (holder->heldDirection == static_cast<int32_t>(button)) {
        holder->heldDirection = -1;
    }
}

bool buttonFor(uint8_t sdlButton, PadButton* button) {
    switch (sdlButton) {
        case SDL_CONTROLLER_BUTTON_A: *button = PadButton::A; return true;
        case SDL_CONTROLLER_BUTTON_B: *button = PadButton::B; return true;
        case SDL_CONTROLLER_BUTTON_X: *button = PadButton::X; return true;
        case SDL_CONTROLLER_BUTTON_Y: *button = PadButton::Y; return true;
        case SDL_CONTROLLER_BUTTON_BACK: *button = PadButton::Back; return true;
        case SDL_CONTROLLER_BUTTON_START: *button = PadButton::Start; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: *button = PadButton::Up; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: *button = PadButton::Down; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: *button = PadButton::Left; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: *button = PadButton::Right; return true;
        default: return false;
    }
}

// The stick counts as pushed beyond half its travel and as let go below a
// quarter, so a stick resting near the threshold does not flicker.
int8_t stickDirection(int8_t current, int16_t value) {
    if (value >= 16384) return 1;
    if (value <= -16384) return -1;
    if (value > -8192 && value < 8192) return 0;
    return current;
}

void stickMoved(Holder* holder, int8_t* direction, int16_t value, PadButton negative, PadButton positive) {
    const int8_t now = stickDirection(*direction, value);
    if (now == *direction) return;
    if (*direction != 0) queue(holder, MessageKind::PadButtonUp, *direction < 0 ? negative : positive);
    if (now != 0) queue(holder, MessageKind::PadButtonDown, now < 0 ? negative : positive);
    *direction = now;
}

void connect(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController* open : pads.open)
        if (open && SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(open)) == id) return;
    for (SDL_GameController*& slot : pads.open) {
        if (slot) continue;
        slot = SDL_GameControllerOpen(deviceIndex);
        return;
    }
}

void disconnect(SDL_JoystickID id) {
    for (SDL_GameController*& slot : pads.open) {
        if (!slot || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(slot)) != id) continue;
        SDL_GameControllerClose(slot);
        slot = nullptr;
    }
    // What the controller held goes with it; the others keep theirs.
    for (Holder& holder : pads.holders)
        if (holder.used && holder.pad == id) holder = Holder{};
}

}  // namespace

void startControllers() {
    if (pads.started) return;
    pads = PadState{};
    // Without the controller subsystem the game is played with keys and mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    pads.started = 1;
}

void stopControllers() {
    if (pads.started) {
        for (SDL_GameController* open : pads.open)
            if (open) SDL_GameControllerClose(open);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    pads = PadState{};
}

int openControllerCount() {
    int count = 0;
    for (SDL_GameController* open : pads.open)
        if (open) ++count;
    return count;
}

bool padEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            connect(event.cdevice.which);
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            disconnect(event.cdevice.which);
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            PadButton button;
            if (buttonFor(event.cbutton.button, &button))
                queue(holderOf(event.cbutton.which, false),
                      event.type == SDL_CONTROLLERBUTTONDOWN ? MessageKind::PadButtonDown : MessageKind::PadButtonUp,
                      button);
            return true;
        }
        case SDL_CONTROLLERAXISMOTION: {
            Holder* holder = holderOf(event.caxis.which, true);
            if (!holder) return true;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                stickMoved(holder, &holder->stickX, event.caxis.value, PadButton::Left, PadButton::Right);
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
                stickMoved(holder, &holder->stickY, event.caxis.value, PadButton::Up, PadButton::Down);
            return true;
        }
        default:
            return false;
    }
}

// The held direction whose repeat falls due first, or nullptr.
static Holder* nextRepeating() {
    Holder* first = nullptr;
    for (Holder& holder : pads.holders) {
        if (!holder.used || holder.heldDirection < 0) continue;
        if (!first || static_cast<int32_t>(holder.nextRepeat - first->nextRepeat) < 0) first = &holder;
    }
    return first;
}

bool nextPadMessage(WindowMessage* message) {
    if (pads.pendingCount > 0) {
        *message = pads.pending[0];
        for (int i = 1; i < pads.pendingCount; ++i) pads.pending[i - 1] = pads.pending[i];
        --pads.pendingCount;
        return true;
    }
    Holder* holder = nextRepeating();
    if (!holder) return false;
    const uint32_t now = padClock();
    if (static_cast<int32_t>(now - holder->nextRepeat) < 0) return false;
    holder->nextRepeat = now + PadRepeatIntervalMs;
    *message = WindowMessage{};
    message->kind = MessageKind::PadButtonDown;
    message->key = holder->heldDirection;
    message->repeat = 1;
    return true;
}

int padRepeatDueInMs() {
    if (pads.pendingCount > 0) return 0;
    const Holder* holder = nextRepeating();
    if (!holder) return -1;
    const int32_t left = static_cast<int32_t>(holder->nextRepeat - padClock());
    return left > 0 ? left : 0;
}

void setPadClock(uint32_t (*milliseconds)()) { padClock = milliseconds ? milliseconds : SDL_GetTicks; }
