#pragma once
// Small stateless helpers shared across the system: strings, setting descriptors, file
// names, the process CPU figure, console printing with call stacks, and the test
// pattern's pseudo-random numbers. Every number<->text conversion here uses the classic
// "C" locale, and only ASCII letters ever change case.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- Strings ----

// Pieces between separators; an empty piece between two separators is kept, a separator
// at the very end adds none, an empty text gives none.
std::vector<std::string> Split(const std::string& text, char separator);

// Quote-aware word splitter of the command language: spaces split words (empty words
// included), a double quote toggles quoting and is dropped.
std::vector<std::string> Tokenize(const std::string& text);

// Bracketed items, as in "[BGR][RGB][HSV]"; text outside brackets is ignored.
std::vector<std::string> ParseItemList(const std::string& text);

std::string RemoveCharacter(const std::string& text, char character);
// The text up to the first occurrence of the character; the whole text when absent.
std::string TextBefore(const std::string& text, char character);
std::string ToLower(const std::string& text);
// Upper-cases the first character and every character that follows a space.
std::string CapitaliseWords(const std::string& text);
// Inserts a space before each upper-case letter that follows a non-upper-case character.
std::string SplitCamelCase(const std::string& text);
// "_global_frame_rate" -> "Global Frame Rate", "_ResetToSelected" -> "Reset To Selected".
std::string MakeLabelFromName(const std::string& name);
// Appends spaces, in place, until the text has at least width characters.
void PadRight(std::string& text, std::size_t width);
// The value of key in a descriptor such as "min=0, max=255", lower-cased and without
// spaces; empty when absent. The key must be given in lower case.
std::string GetValue(const std::string& descriptor, const std::string& key);
// At most count characters from position; empty when position is past the end.
std::string SubString(const std::string& text, std::size_t position, std::size_t count);

// ---- Files and directories ("/" separates, "." after the last "/" starts an extension) ----

std::string GetExtension(const std::string& path);
std::string GetFileExtension(const std::string& path);
std::string RemoveExtension(const std::string& path);
std::string StripExtension(const std::string& path);
// The text after the last "/"; empty when the path holds no "/".
std::string GetFileName(const std::string& path);
// Absolute path of the directory that contains the path.
std::string GetDirectory(const std::string& path);
// Absolute paths of the plain files in the directory, in file-system order.
std::vector<std::string> ListDirectory(const std::string& directory);
// The files of ListDirectory whose extension equals the given one exactly.
std::vector<std::string> ListFilesWithExtension(const std::string& directory, const std::string& extension);

// ---- Process CPU time ----

// User-mode CPU time of the process in seconds, to the millisecond; -1.0 on failure.
double GetProcessCpuSeconds();
// CPU use since the previous call in percent of one processor (GUI thread only).
double GetCpuUsage();
// The figure GetCpuUsage reports for a CPU-time step over an interval; 0 for no interval.
double CpuUsagePercent(double previous_cpu_seconds, double cpu_seconds, double elapsed_seconds);

// ---- Console ----

constexpr int kConsoleError = 2;
constexpr int kConsoleWarning = 4;

// Errors go to standard error and warnings to standard output, in colour on a terminal,
// each followed by the call stack; any other kind prints the text and a line end.
void PrintToConsole(int kind, const std::string& text);
// printf-style front end of PrintToConsole; the text is cut at 2047 characters.
void PrintToConsoleF(int kind, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The calling thread's stack, one frame per line, each line starting with indent. Frames
// whose text contains skip_name (may be null) are passed over until the first that does not.
std::string GetCallstack(const char* indent, const char* skip_name);
// The name of the function that holds the address; empty when unknown.
std::string GetFrameText(void* address);

// ---- Random numbers ----

// Marsaglia's three-word xorshift; each thread has its own state and starts the same
// sequence. No lock.
std::uint32_t XorShiftRandom();
