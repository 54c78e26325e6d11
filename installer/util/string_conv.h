// Conversions between the wide (UTF-16), ANSI (system code page) and UTF-8
// encodings, and the small number/text formatters the installer shares.
//
// Paths and UI text are wide; network parameters, package strings,
// configuration values and log text are ANSI. Every function here is
// stateless and may be called on any thread. None throws: a failed
// conversion gives an empty string (or a null pointer for the buffer forms).
#pragma once

#include <string>

// WideCharToMultiByte(CP_ACP); empty on failure.
std::string WideToAnsi(const std::wstring& text);
// MultiByteToWideChar(CP_ACP); a leading U+FEFF is dropped; empty on failure.
std::wstring AnsiToWide(const std::string& text);
// MultiByteToWideChar(CP_UTF8); empty for a null input or on failure.
std::wstring Utf8ToWide(const char* text);
std::wstring Utf8ToWide(const std::string& text);
// WideCharToMultiByte(CP_UTF8); empty on failure.
std::string WideToUtf8(const std::wstring& text);
// UTF-8 -> wide -> CP_ACP.
std::string Utf8ToAnsi(const std::string& text);

// Converts into a caller-owned buffer of `capacity` elements (terminator
// included). Returns `target`, or null when an argument is invalid or the
// text does not fit; the buffer is then left empty (target[0] = 0).
wchar_t* MultiByteToWideBuffer(wchar_t* target, const char* source,
                               int capacity, unsigned code_page);
char* WideToMultiByteBuffer(char* target, const wchar_t* source,
                            int capacity, unsigned code_page);

// Upper-case copy (locale-independent for ASCII, Windows case tables for
// the rest) and case-insensitive equality built on it.
std::wstring ToUpper(const std::wstring& text);
bool EqualsIgnoreCase(const std::wstring& a, const std::wstring& b);

// Number to text.
std::wstring UintToWide(unsigned value);      // "%u"
std::wstring IntToWide(int value);            // "%d"
std::wstring LongToWide(long value);          // "%ld"
std::string LongToAnsi(long value);           // "%ld"
std::string DoubleToAnsi(double value);       // "%.0f"
std::string IntToAnsi(int value);             // via a string stream

// Text to number: unsigned decimal (strtoul, base 10); 0 for text that does
// not start with a digit.
unsigned long AnsiToUlong(const std::string& text);
