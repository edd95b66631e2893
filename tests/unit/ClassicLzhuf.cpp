// The classic-style LZHUF coder: global-state C in a class, names as the published program has them.
#include "tests/unit/ClassicLzhuf.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace classic {
namespace {

constexpr int N = 4096;                      // ring buffer size
constexpr int F = 60;                        // look-ahead, longest match
constexpr int THRESHOLD = 2;                 // a match this short goes out as literals
constexpr int NIL = N;                       // end of a binary-tree link
constexpr int N_CHAR = 256 - THRESHOLD + F;  // literals and match lengths
constexpr int T = N_CHAR * 2 - 1;            // nodes of the Huffman tree
constexpr int R = T - 1;                     // its root
constexpr unsigned MAX_FREQ = 0x8000;        // root frequency that halves the tree

// Upper six offset bits, encoder side: code length and the code left-aligned in a byte.
const uint8_t p_len[64] = {
    0x03, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};

const uint8_t p_code[64] = {
    0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
    0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
    0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

// Decoder side: the upper six bits and the code length, indexed by the next eight bits.
const uint8_t d_code[256] = {
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01,
    0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02, 0x02,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09, 0x09,
    0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0A, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B, 0x0B,
    0x0C, 0x0C, 0x0C, 0x0C, 0x0D, 0x0D, 0x0D, 0x0D, 0x0E, 0x0E, 0x0E, 0x0E, 0x0F, 0x0F, 0x0F, 0x0F,
    0x10, 0x10, 0x10, 0x10, 0x11, 0x11, 0x11, 0x11, 0x12, 0x12, 0x12, 0x12, 0x13, 0x13, 0x13, 0x13,
    0x14, 0x14, 0x14, 0x14, 0x15, 0x15, 0x15, 0x15, 0x16, 0x16, 0x16, 0x16, 0x17, 0x17, 0x17, 0x17,
    0x18, 0x18, 0x19, 0x19, 0x1A, 0x1A, 0x1B, 0x1B, 0x1C, 0x1C, 0x1D, 0x1D, 0x1E, 0x1E, 0x1F, 0x1F,
    0x20, 0x20, 0x21, 0x21, 0x22, 0x22, 0x23, 0x23, 0x24, 0x24, 0x25, 0x25, 0x26, 0x26, 0x27, 0x27,
    0x28, 0x28, 0x29, 0x29, 0x2A, 0x2A, 0x2B, 0x2B, 0x2C, 0x2C, 0x2D, 0x2D, 0x2E, 0x2E, 0x2F, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F};

const uint8_t d_len[256] = {
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03, 0x03,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
    0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};

// The adaptive Huffman tree both directions share: freq, prnt and son as in the program.
class Huff {
public:
    unsigned freq[T + 1]{};
    int prnt[T + N_CHAR]{};
    int son[T]{};

    void StartHuff()
    {
        int i, j;
        for (i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        i = 0;
        j = N_CHAR;
        while (j <= R) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
            i += 2;
            j++;
        }
        freq[T] = 0xffff;
        prnt[R] = 0;
    }

    // Halve every leaf, then rebuild the inner nodes in frequency order.
    void reconst()
    {
        int i, j, k;
        unsigned f, l;
        j = 0;
        for (i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        }
        for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
            k = i + 1;
            f = freq[j] = freq[i] + freq[k];
            for (k = j - 1; f < freq[k]; k--)
                ;
            k++;
            l = static_cast<unsigned>(j - k);
            std::memmove(&freq[k + 1], &freq[k], l * sizeof freq[0]);
            freq[k] = f;
            std::memmove(&son[k + 1], &son[k], l * sizeof son[0]);
            son[k] = i;
        }
        for (i = 0; i < T; i++) {
            if ((k = son[i]) >= T)
                prnt[k] = i;
            else
                prnt[k] = prnt[k + 1] = i;
        }
    }

    void update(int c)
    {
        int i, j, l;
        unsigned k;
        if (freq[R] == MAX_FREQ)
            reconst();
        c = prnt[c + T];
        do {
            k = ++freq[c];
            if (k > freq[l = c + 1]) {
                while (k > freq[++l])
                    ;
                l--;
                freq[c] = freq[l];
                freq[l] = k;
                i = son[c];
                prnt[i] = l;
                if (i < T)
                    prnt[i + 1] = l;
                j = son[l];
                son[l] = i;
                prnt[j] = c;
                if (j < T)
                    prnt[j + 1] = c;
                son[c] = j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }
};

class Decoder : Huff {
public:
    explicit Decoder(std::span<const uint8_t> in) : in_(in) {}

    std::vector<uint8_t> Decode()
    {
        std::vector<uint8_t> out;
        unsigned long textsize = 0;
        for (int b = 0; b < 4; b++)
            textsize |= static_cast<unsigned long>(getc() & 0xff) << (8 * b);
        if (textsize == 0)
            return out;
        out.reserve(std::min<unsigned long>(textsize, 1ul << 24) + F);
        StartHuff();
        for (int i = 0; i < N - F; i++)
            text_buf[i] = ' ';
        int r = N - F;
        for (unsigned long count = 0; count < textsize;) {
            int c = DecodeChar();
            if (c < 256) {
                out.push_back(static_cast<uint8_t>(c));
                text_buf[r++] = static_cast<uint8_t>(c);
                r &= (N - 1);
                count++;
            } else {
                const int i = (r - DecodePosition() - 1) & (N - 1);
                const int j = c - 255 + THRESHOLD;
                for (int k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    out.push_back(static_cast<uint8_t>(c));
                    text_buf[r++] = static_cast<uint8_t>(c);
                    r &= (N - 1);
                    count++;
                }
            }
        }
        return out;
    }

private:
    int getc() { return at_ < in_.size() ? in_[at_++] : -1; }

    // The bit buffer is kept 16 bits wide, filled from the top; past the end come zeros.
    int GetBit()
    {
        int i;
        while (getlen <= 8) {
            if ((i = getc()) < 0)
                i = 0;
            getbuf |= static_cast<uint16_t>(i << (8 - getlen));
            getlen += 8;
        }
        i = getbuf;
        getbuf = static_cast<uint16_t>(getbuf << 1);
        getlen--;
        return (i >> 15) & 1;
    }

    int GetByte()
    {
        unsigned i;
        while (getlen <= 8) {
            int c;
            if ((c = getc()) < 0)
                c = 0;
            getbuf |= static_cast<uint16_t>(c << (8 - getlen));
            getlen += 8;
        }
        i = getbuf;
        getbuf = static_cast<uint16_t>(getbuf << 8);
        getlen -= 8;
        return static_cast<int>(i >> 8);
    }

    // One bit per level from the root; the walk handles codes of any length.
    int DecodeChar()
    {
        unsigned c = static_cast<unsigned>(son[R]);
        while (c < static_cast<unsigned>(T)) {
            c += static_cast<unsigned>(GetBit());
            c = static_cast<unsigned>(son[c]);
        }
        c -= T;
        update(static_cast<int>(c));
        return static_cast<int>(c);
    }

    int DecodePosition()
    {
        unsigned i, j, c;
        i = static_cast<unsigned>(GetByte());
        c = static_cast<unsigned>(d_code[i]) << 6;
        j = d_len[i];
        j -= 2;
        while (j--)
            i = (i << 1) + static_cast<unsigned>(GetBit());
        return static_cast<int>(c | (i & 0x3f));
    }

    std::span<const uint8_t> in_;
    size_t at_ = 0;
    uint16_t getbuf = 0;
    uint8_t getlen = 0;
    uint8_t text_buf[N + F - 1]{};
};

class Encoder : Huff {
public:
    explicit Encoder(std::span<const uint8_t> in) : in_(in) {}

    std::vector<uint8_t> Encode()
    {
        const uint32_t textsize = static_cast<uint32_t>(in_.size());
        for (int b = 0; b < 4; b++)
            out_.push_back(static_cast<uint8_t>(textsize >> (8 * b)));
        if (textsize == 0)
            return out_;
        int i, c, len, r, s, last_match_length;
        StartHuff();
        InitTree();
        s = 0;
        r = N - F;
        for (i = s; i < r; i++)
            text_buf[i] = ' ';
        for (len = 0; len < F && (c = getc()) != -1; len++)
            text_buf[r + len] = static_cast<uint8_t>(c);
        for (i = 1; i <= F; i++)
            InsertNode(r - i);
        InsertNode(r);
        do {
            if (match_length > len)
                match_length = len;
            if (match_length <= THRESHOLD) {
                match_length = 1;
                EncodeChar(text_buf[r]);
            } else {
                EncodeChar(static_cast<unsigned>(255 - THRESHOLD + match_length));
                EncodePosition(static_cast<unsigned>(match_position));
            }
            last_match_length = match_length;
            for (i = 0; i < last_match_length && (c = getc()) != -1; i++) {
                DeleteNode(s);
                text_buf[s] = static_cast<uint8_t>(c);
                if (s < F - 1)
                    text_buf[s + N] = static_cast<uint8_t>(c);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                InsertNode(r);
            }
            while (i++ < last_match_length) {
                DeleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--len)
                    InsertNode(r);
            }
        } while (len > 0);
        if (putlen)
            out_.push_back(static_cast<uint8_t>(putbuf >> 8));
        return out_;
    }

private:
    int getc() { return at_ < in_.size() ? in_[at_++] : -1; }

    void InitTree()
    {
        for (int i = N + 1; i <= N + 256; i++)
            rson[i] = NIL;
        for (int i = 0; i < N; i++)
            dad[i] = NIL;
    }

    // Inserts the string at r into the tree of its first byte and leaves the longest match
    // (the nearest one among equals) in match_length and match_position.
    void InsertNode(int r)
    {
        int i, p, cmp;
        uint8_t* key;
        unsigned c;
        cmp = 1;
        key = &text_buf[r];
        p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        match_length = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL)
                    p = rson[p];
                else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL)
                    p = lson[p];
                else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            for (i = 1; i < F; i++)
                if ((cmp = key[i] - text_buf[p + i]) != 0)
                    break;
            if (i > THRESHOLD) {
                if (i > match_length) {
                    match_position = ((r - p) & (N - 1)) - 1;
                    if ((match_length = i) >= F)
                        break;
                }
                if (i == match_length) {
                    if ((c = static_cast<unsigned>(((r - p) & (N - 1)) - 1)) < static_cast<unsigned>(match_position))
                        match_position = static_cast<int>(c);
                }
            }
        }
        // A full-length match: r takes p's place in the tree.
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p)
            rson[dad[p]] = r;
        else
            lson[dad[p]] = r;
        dad[p] = NIL;
    }

    void DeleteNode(int p)
    {
        int q;
        if (dad[p] == NIL)
            return;
        if (rson[p] == NIL)
            q = lson[p];
        else if (lson[p] == NIL)
            q = rson[p];
        else {
            q = lson[p];
            if (rson[q] != NIL) {
                do {
                    q = rson[q];
                } while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p)
            rson[dad[p]] = q;
        else
            lson[dad[p]] = q;
        dad[p] = NIL;
    }

    // l bits of c, taken from its top, appended to the output.
    void Putcode(int l, unsigned c)
    {
        putbuf |= c >> putlen;
        if ((putlen += l) >= 8) {
            out_.push_back(static_cast<uint8_t>(putbuf >> 8));
            if ((putlen -= 8) >= 8) {
                out_.push_back(static_cast<uint8_t>(putbuf));
                putlen -= 8;
                putbuf = (c << (l - putlen)) & 0xffff;
            } else {
                putbuf = (putbuf << 8) & 0xffff;
            }
        }
    }

    // The published program gathers the path in one 16-bit word and so writes a wrong code
    // for a leaf deeper than 16 levels; here the path goes out in pieces of up to 16 bits,
    // root first, so any depth is written right.
    void EncodeChar(unsigned c)
    {
        int path[T];
        int depth = 0;
        int k = prnt[c + T];
        do {
            path[depth++] = k & 1;
            k = prnt[k];
        } while (k != R);
        while (depth > 0) {
            unsigned i = 0;
            int j = 0;
            while (depth > 0 && j < 16) {
                i |= static_cast<unsigned>(path[--depth]) << (15 - j);
                j++;
            }
            Putcode(j, i);
        }
        update(static_cast<int>(c));
    }

    void EncodePosition(unsigned c)
    {
        const unsigned i = c >> 6;
        Putcode(p_len[i], static_cast<unsigned>(p_code[i]) << 8);
        Putcode(6, (c & 0x3f) << 10);
    }

    std::span<const uint8_t> in_;
    size_t at_ = 0;
    std::vector<uint8_t> out_;
    unsigned putbuf = 0;
    int putlen = 0;
    uint8_t text_buf[N + F - 1]{};
    int match_position = 0, match_length = 0;
    int lson[N + 1]{}, rson[N + 257]{}, dad[N + 1]{};
};

} // namespace

std::vector<uint8_t> Encode(std::span<const uint8_t> input)
{
    auto encoder = std::make_unique<Encoder>(input);
    return encoder->Encode();
}

std::vector<uint8_t> Decode(std::span<const uint8_t> file)
{
    auto decoder = std::make_unique<Decoder>(file);
    return decoder->Decode();
}

} // namespace classic
