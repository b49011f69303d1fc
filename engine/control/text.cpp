#include "engine/control/text.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "engine/control/control.h"
#include "project/maker/file.h"

int CLineReader::Get() {
    if (m_pos == m_len) {
        if (m_end) return -1;
        std::size_t n = m_file.Remaining();
        if (n > sizeof m_buf) n = sizeof m_buf;
        if (n == 0 || FILE_Read(m_file, m_buf, n, 0) != 0) {
            m_end = true;
            return -1;
        }
        m_pos = 0;
        m_len = n;
    }
    return m_buf[m_pos++];
}

int CLineReader::Read(std::string& line, std::size_t maxChars) {
    line.clear();
    if (m_lineNumber == 0 && !m_bomChecked) {
        // A table saved as UTF-8 by a spreadsheet starts with a byte-order mark, which would
        // otherwise make the first keyword unknown.
        m_bomChecked = true;
        if (Get() >= 0) {
            --m_pos;
            if (m_len - m_pos >= 3 && m_buf[m_pos] == 0xEF && m_buf[m_pos + 1] == 0xBB &&
                m_buf[m_pos + 2] == 0xBF)
                m_pos += 3;
        }
    }
    int c = Get();
    if (c < 0) return 1;
    bool lastStoredIsCr = false;
    while (c >= 0 && c != '\n') {
        if (line.size() < maxChars) {
            line.push_back(static_cast<char>(c));
            lastStoredIsCr = (c == '\r');
        } else {
            lastStoredIsCr = false;  // a "\r" past the cut is discarded with the rest
        }
        c = Get();
    }
    if (lastStoredIsCr && c == '\n' && !line.empty()) line.pop_back();
    ++m_lineNumber;
    return 0;
}

bool IsControlSeparator(char c) {
    // Comma, semicolon, colon and blank; a tab counts as a blank, so tab-separated tables read too.
    return c == ',' || c == ';' || c == ':' || c == ' ' || c == '\t';
}

int Tokenize(std::string_view text, std::string_view* tokens, int maxTokens, bool takeTrailingSingle) {
    int n = 0;
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (n < maxTokens && pos < size && (size - pos >= 2 || takeTrailingSingle)) {
        // One leading separator per pass, so the two-character test applies after each: in
        // "tamb, x" the "x" left alone at the end is no keyword.
        if (IsControlSeparator(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < size && !IsControlSeparator(text[end])) ++end;
        tokens[n++] = text.substr(pos, end - pos);
        pos = end < size ? end + 1 : end;
    }
    return n;
}

int ControlTokenize(std::string_view text, std::string_view* tokens, int maxTokens) {
    return Tokenize(text, tokens, maxTokens, false);
}

std::string ToLowerAscii(std::string_view text) {
    std::string s(text);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

locale_t CLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

}  // namespace

double LeadingNumber(std::string_view text, bool* outOfRange) {
    if (outOfRange) *outOfRange = false;
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            i = j;
        }
    }
    // Only decimal numbers: no hexadecimal, "inf" or "nan" can come out of a table value.
    std::string number(text.substr(start, i - start));
    errno = 0;
    double v = strtod_l(number.c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::fabs(v) > 1.0) {
        if (outOfRange) *outOfRange = true;
        return 0.0;
    }
    if (errno == ERANGE) return 0.0;  // underflow: as good as 0
    return v;
}
