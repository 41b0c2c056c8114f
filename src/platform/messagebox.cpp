// Message boxes, with a way round them for tests and runs with nobody to answer.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/platform_local.h"

namespace {

MessageBoxHandler handler = nullptr;

const char* iconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return "exclamation";
        case MessageIcon::Stop: return "stop";
        case MessageIcon::Information: return "information";
    }
    return "";
}

MessageAnswer printed(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon,
                      MessageAnswer answer) {
    std::fprintf(stderr, "[%s] %s: %s (%s)\n", iconName(icon), caption, text,
                 buttons == MessageButtons::YesNo ? (answer == MessageAnswer::Yes ? "Yes" : "No") : "OK");
    return answer;
}

MessageAnswer defaultAnswer(MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

Uint32 iconFlags(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation: return SDL_MESSAGEBOX_WARNING;
        case MessageIcon::Stop: return SDL_MESSAGEBOX_ERROR;
        case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

}  // namespace

void setMessageBoxHandler(MessageBoxHandler replacement) { handler = replacement; }

MessageAnswer messageBox(const char* text, const char* caption, MessageButtons buttons, MessageIcon icon) {
    if (handler) return handler(text, caption, buttons, icon);

    if (const char* mode = std::getenv("VORTIQ_MESSAGEBOX")) {
        MessageAnswer answer = defaultAnswer(buttons);
        if (buttons == MessageButtons::YesNo && std::strcmp(mode, "no") == 0) answer = MessageAnswer::No;
        if (std::strcmp(mode, "print") == 0 || std::strcmp(mode, "yes") == 0 || std::strcmp(mode, "no") == 0)
            return printed(text, caption, buttons, icon, answer);
    }

    const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"}};
    const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "No"}};
    SDL_MessageBoxData data = {};
    data.flags = iconFlags(icon);
    data.window = nullptr;
    data.title = caption;
    data.message = text;
    if (buttons == MessageButtons::YesNo) {
        data.numbuttons = 2;
        data.buttons = yesNoButtons;
    } else {
        data.numbuttons = 1;
        data.buttons = okButton;
    }
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0)
        return printed(text, caption, buttons, icon, defaultAnswer(buttons));
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    // Closing the question without an answer counts as No.
    return pressed == 1 ? MessageAnswer::Yes : MessageAnswer::No;
}
