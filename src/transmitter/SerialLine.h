#pragma once

// The cradle's serial line, as its port is opened: 115200 baud, 8 data bits, no parity, one
// stop bit. What a reply may cost in time follows from it.
namespace SerialLine {
inline constexpr int baudRate = 115200;
// A start bit, eight data bits and a stop bit carry each byte.
inline constexpr int bitsPerByte = 10;
inline constexpr double bytesPerSecond = static_cast<double>(baudRate) / bitsPerByte;
} // namespace SerialLine
