#pragma once

namespace zorlo {

// Windows virtual-key codes: the console keeps these on every platform, so a
// parameter file moves between systems unchanged.
namespace vk {
inline constexpr int Backspace = 8;
inline constexpr int Enter = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Delete = 46;
inline constexpr int F1 = 112;
inline constexpr int F12 = 123;
} // namespace vk

// The shift state of key, mouse and drop events; handlers compare the whole value.
namespace ShiftState {
inline constexpr int None = 0;
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
} // namespace ShiftState

} // namespace zorlo
