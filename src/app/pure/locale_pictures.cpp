#include "app/pure/locale_pictures.h"

#include <vector>

namespace textfmt {

namespace {

struct Piece {
    bool field = false;  // a Windows format field (run of one letter)
    char letter = 0;     // of a field
    size_t count = 0;    // run length of a field
    bool quoted = false; // of literal text
    std::string text;    // literal text (quotes removed)
};

bool IsFieldLetter(char c, bool timePicture) {
    // Letter case matters in Windows pictures: "M" is the month, "m" the minute.
    return timePicture ? (c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't')
                       : (c == 'd' || c == 'M' || c == 'y' || c == 'g');
}

std::vector<Piece> Parse(std::string_view picture, bool timePicture) {
    std::vector<Piece> pieces;
    auto literal = [&](bool quoted) -> std::string& {
        if (pieces.empty() || pieces.back().field || pieces.back().quoted != quoted) {
            Piece p;
            p.quoted = quoted;
            pieces.push_back(p);
        }
        return pieces.back().text;
    };
    size_t i = 0;
    while (i < picture.size()) {
        char c = picture[i];
        if (c == '\'') {
            if (i + 1 < picture.size() && picture[i + 1] == '\'') { // '' outside quotes: one quote
                literal(true) += '\'';
                i += 2;
                continue;
            }
            std::string text;
            size_t j = i + 1;
            while (j < picture.size()) {
                if (picture[j] == '\'') {
                    if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                        text += '\'';
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += picture[j++];
            }
            literal(true) += text;
            i = j + 1; // an unterminated quote runs to the end
            continue;
        }
        if (IsFieldLetter(c, timePicture)) {
            size_t n = 1;
            while (i + n < picture.size() && picture[i + n] == c)
                ++n;
            Piece p;
            p.field = true;
            p.letter = c;
            p.count = n;
            pieces.push_back(p);
            i += n;
            continue;
        }
        literal(false) += c;
        ++i;
    }
    return pieces;
}

bool NeedsQuotes(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u >= 0x80 || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '/' || c == ':' || c == '\'' ||
           c == '"';
}

// Literal text in the program's language: bare when nothing in it could be read as a token,
// otherwise in double quotes (a double quote itself in single quotes).
std::string QuoteLiteral(std::string_view text) {
    bool plain = true;
    for (char c : text)
        if (NeedsQuotes(c)) plain = false;
    if (plain) return std::string(text);
    std::string out;
    size_t start = 0;
    while (start < text.size()) {
        size_t dq = text.find('"', start);
        size_t end = dq == std::string_view::npos ? text.size() : dq;
        if (end > start) out += '"' + std::string(text.substr(start, end - start)) + '"';
        if (dq == std::string_view::npos) break;
        out += "'\"'";
        start = dq + 1;
    }
    return out;
}

class Writer {
public:
    explicit Writer(std::string_view separator, char separatorToken)
        : m_separator(separator), m_separatorToken(separatorToken) {}

    void literal(const Piece& p) {
        if (p.quoted || m_separator.empty()) {
            m_pending += p.text;
            return;
        }
        size_t i = 0;
        while (i < p.text.size()) {
            if (p.text.compare(i, m_separator.size(), m_separator) == 0) {
                flush();
                m_out += m_separatorToken;
                m_lastToken = 0;
                i += m_separator.size();
            } else {
                m_pending += p.text[i++];
            }
        }
    }

    void token(std::string_view tok) {
        flush();
        // Two fields of the same letter side by side would read as one longer field.
        if (m_lastToken && Lower(tok.front()) == Lower(m_lastToken)) m_out += "''";
        m_out += tok;
        m_lastToken = tok.back();
    }

    void text(std::string_view t) { m_pending += t; }

    std::string finish() {
        flush();
        return m_out;
    }

private:
    static int Lower(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }
    void flush() {
        if (m_pending.empty()) return;
        m_out += QuoteLiteral(m_pending);
        m_pending.clear();
        m_lastToken = 0;
    }

    std::string m_separator;
    char m_separatorToken;
    std::string m_out;
    std::string m_pending;
    char m_lastToken = 0;
};

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

} // namespace

std::string DatePictureFromWindows(std::string_view picture, std::string_view dateSeparator, std::string_view era) {
    Writer w(dateSeparator, '/');
    for (const Piece& p : Parse(picture, false)) {
        if (!p.field) {
            w.literal(p);
            continue;
        }
        switch (p.letter) {
        case 'd':
            w.token(Repeat('d', p.count > 4 ? 4 : p.count));
            break;
        case 'M':
            w.token(Repeat('m', p.count > 4 ? 4 : p.count));
            break;
        case 'y':
            w.token(p.count <= 2 ? "yy" : "yyyy");
            break;
        case 'g':
            w.text(era);
            break;
        }
    }
    return w.finish();
}

std::string TimePictureFromWindows(std::string_view picture, std::string_view timeSeparator) {
    Writer w(timeSeparator, ':');
    for (const Piece& p : Parse(picture, true)) {
        if (!p.field) {
            w.literal(p);
            continue;
        }
        switch (p.letter) {
        case 'h':
        case 'H':
            w.token(p.count == 1 ? "h" : "hh");
            break;
        case 'm':
            w.token(p.count == 1 ? "n" : "nn");
            break;
        case 's':
            w.token(p.count == 1 ? "s" : "ss");
            break;
        case 't':
            w.token("AMPM");
            break;
        }
    }
    return w.finish();
}

std::string SeparatorOfWindowsPicture(std::string_view picture, bool timePicture) {
    auto pieces = Parse(picture, timePicture);
    auto numericOrName = [&](const Piece& p) { return p.field && p.letter != 'g' && p.letter != 't'; };
    for (size_t i = 1; i + 1 < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        if (!p.field && !p.quoted && !p.text.empty() && numericOrName(pieces[i - 1]) && numericOrName(pieces[i + 1]))
            return p.text;
    }
    return {};
}

} // namespace textfmt
