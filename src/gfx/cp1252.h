// Windows-1252, the 8-bit code page every text of the game is written in.
#pragma once
#include <cstdint>
#include <string>

// The Unicode code point of a Windows-1252 byte; 0 for the byte 0 and for the
// five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
uint32_t Cp1252ToUnicode(unsigned char byte);

// A zero-terminated Windows-1252 string as UTF-8 (undefined bytes are left
// out); null gives "". For file names and window titles on this system.
std::string Cp1252ToUtf8(const char* text);
