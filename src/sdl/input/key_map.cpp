// key_map.cpp -- one table from SDL's physical keys to DirectInput's key numbers and Windows'
// virtual keys, so the core's key codes, repeat timing and initials stay shared.
#include "sdl/input/key_map.h"

namespace {

struct KeyCodes {
    SDL_Scancode scancode;
    uint8_t snapshot;    // DIK_*
    uint8_t virtualKey;  // VK_*
};

// Letters and digits follow the same pattern in both numberings; the rest is listed.
constexpr KeyCodes NamedKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, 0x1B},
    {SDL_SCANCODE_MINUS, 0x0C, 0xBD},
    {SDL_SCANCODE_EQUALS, 0x0D, 0xBB},
    {SDL_SCANCODE_BACKSPACE, 0x0E, 0x08},
    {SDL_SCANCODE_TAB, 0x0F, 0x09},
    {SDL_SCANCODE_LEFTBRACKET, 0x1A, 0xDB},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, 0xDD},
    {SDL_SCANCODE_RETURN, 0x1C, 0x0D},
    {SDL_SCANCODE_LCTRL, 0x1D, 0x11},
    {SDL_SCANCODE_SEMICOLON, 0x27, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0x28, 0xDE},
    {SDL_SCANCODE_GRAVE, 0x29, 0xC0},
    {SDL_SCANCODE_LSHIFT, 0x2A, 0x10},
    {SDL_SCANCODE_BACKSLASH, 0x2B, 0xDC},
    {SDL_SCANCODE_COMMA, 0x33, 0xBC},
    {SDL_SCANCODE_PERIOD, 0x34, 0xBE},
    {SDL_SCANCODE_SLASH, 0x35, 0xBF},
    {SDL_SCANCODE_RSHIFT, 0x36, 0x10},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, 0x6A},
    {SDL_SCANCODE_LALT, 0x38, 0x12},
    {SDL_SCANCODE_SPACE, 0x39, 0x20},
    {SDL_SCANCODE_CAPSLOCK, 0x3A, 0x14},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x46, 0x91},
    {SDL_SCANCODE_KP_7, 0x47, 0x67},
    {SDL_SCANCODE_KP_8, 0x48, 0x68},
    {SDL_SCANCODE_KP_9, 0x49, 0x69},
    {SDL_SCANCODE_KP_MINUS, 0x4A, 0x6D},
    {SDL_SCANCODE_KP_4, 0x4B, 0x64},
    {SDL_SCANCODE_KP_5, 0x4C, 0x65},
    {SDL_SCANCODE_KP_6, 0x4D, 0x66},
    {SDL_SCANCODE_KP_PLUS, 0x4E, 0x6B},
    {SDL_SCANCODE_KP_1, 0x4F, 0x61},
    {SDL_SCANCODE_KP_2, 0x50, 0x62},
    {SDL_SCANCODE_KP_3, 0x51, 0x63},
    {SDL_SCANCODE_KP_0, 0x52, 0x60},
    {SDL_SCANCODE_KP_PERIOD, 0x53, 0x6E},
    {SDL_SCANCODE_F11, 0x57, 0x7A},
    {SDL_SCANCODE_F12, 0x58, 0x7B},
    {SDL_SCANCODE_KP_ENTER, 0x9C, 0x0D},
    {SDL_SCANCODE_RCTRL, 0x9D, 0x11},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5, 0x6F},
    {SDL_SCANCODE_RALT, 0xB8, 0x12},
    {SDL_SCANCODE_HOME, 0xC7, 0x24},
    {SDL_SCANCODE_UP, 0xC8, 0x26},
    {SDL_SCANCODE_PAGEUP, 0xC9, 0x21},
    {SDL_SCANCODE_LEFT, 0xCB, 0x25},
    {SDL_SCANCODE_RIGHT, 0xCD, 0x27},
    {SDL_SCANCODE_END, 0xCF, 0x23},
    {SDL_SCANCODE_DOWN, 0xD0, 0x28},
    {SDL_SCANCODE_PAGEDOWN, 0xD1, 0x22},
    {SDL_SCANCODE_INSERT, 0xD2, 0x2D},
    {SDL_SCANCODE_DELETE, 0xD3, 0x2E},
    {SDL_SCANCODE_LGUI, 0xDB, 0x5B},
    {SDL_SCANCODE_RGUI, 0xDC, 0x5C},
};

// DirectInput numbers the keys by their place on the keyboard, row by row.
constexpr uint8_t LetterSnapshot[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
    0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

const KeyCodes* Find(SDL_Scancode scancode)
{
    for (const KeyCodes& key : NamedKeys) {
        if (key.scancode == scancode) {
            return &key;
        }
    }
    return nullptr;
}

}  // namespace

uint8_t SnapshotCode(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return LetterSnapshot[scancode - SDL_SCANCODE_A];
    }
    // 1 to 9, then 0: DIK_1 (2) to DIK_0 (11).
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_0) {
        return static_cast<uint8_t>(0x02 + (scancode - SDL_SCANCODE_1));
    }
    // F1 to F10 run on from DIK_F1 (0x3B).
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10) {
        return static_cast<uint8_t>(0x3B + (scancode - SDL_SCANCODE_F1));
    }
    const KeyCodes* key = Find(scancode);
    return key != nullptr ? key->snapshot : 0;
}

uint8_t VirtualKey(SDL_Scancode scancode, SDL_Keycode symbol)
{
    if (symbol >= SDLK_a && symbol <= SDLK_z) {
        return static_cast<uint8_t>('A' + (symbol - SDLK_a));
    }
    if (symbol >= SDLK_0 && symbol <= SDLK_9) {
        return static_cast<uint8_t>(symbol);
    }
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
        return static_cast<uint8_t>('A' + (scancode - SDL_SCANCODE_A));
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) {
        return static_cast<uint8_t>('1' + (scancode - SDL_SCANCODE_1));
    }
    if (scancode == SDL_SCANCODE_0) {
        return '0';
    }
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F10) {
        return static_cast<uint8_t>(0x70 + (scancode - SDL_SCANCODE_F1));
    }
    const KeyCodes* key = Find(scancode);
    return key != nullptr ? key->virtualKey : 0;
}
