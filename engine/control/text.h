#pragma once
// Text handling shared by the control file and the alternate input readers: line reading with a
// maximum length, the separator tokenizer and the text-to-number conversion.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CFile;

// Reads the lines of an open file, buffered. A line ends at "\n"; a "\r" before it is dropped, so
// LF and CRLF files read alike. A line longer than the maximum is cut there and the rest of it is
// discarded, never read into the buffer. A UTF-8 byte-order mark before the first line is skipped.
class CLineReader {
public:
    explicit CLineReader(CFile& file) : m_file(file) {}
    // 0 with the line in `line`; non-zero at the end of the file (no character left).
    int Read(std::string& line, std::size_t maxChars);
    int LineNumber() const { return m_lineNumber; }

private:
    int Get();  // next byte, or -1 at the end

    CFile& m_file;
    unsigned char m_buf[4096];
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    bool m_end = false;
    bool m_bomChecked = false;
    int m_lineNumber = 0;
};

bool IsControlSeparator(char c);

// The tokenizer: while the remaining text has at least two characters, drop leading separators,
// take the text up to the next separator as a token and remove it with that separator. With
// `takeTrailingSingle` a last token of one character is taken too (data lines: a "simulate" value
// of 1 in the last column); keyword lines leave it.
int Tokenize(std::string_view text, std::string_view* tokens, int maxTokens, bool takeTrailingSingle);

std::string ToLowerAscii(std::string_view text);
std::string_view TrimBlanks(std::string_view text);

// The leading numeric part of `text` (after leading white space), as the usual text-to-number
// conversion reads it, independent of the locale; 0 when there is none. `outOfRange` is set when the
// number does not fit a double.
double LeadingNumber(std::string_view text, bool* outOfRange = nullptr);

enum class EHourlyColumn : std::int32_t;
// Control-file line 3 (or a --columns list): lower-cased, tokenized, at most 31 columns.
int SplitHourlyColumns(std::string_view keywords, EHourlyColumn* columns);
