#include "mesh_files/camera_path.h"

#include "read_file.h"

#include <cmath>
#include <cstdlib>

namespace {
bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the items of a .pth file the way a text stream does: white space is
// skipped before every item, a read that fails leaves its target unchanged
// and makes every later read fail, and running into the end of the text is
// remembered.
class cPathReader {
public:
    cPathReader(const char* text, std::size_t size) : m_text(text), m_size(size) {}

    // Stream state after a key: true while more keys may follow.
    bool good() const { return !m_failed && !m_at_end; }

    void separator() {
        if (!skip_space())
            return;
        ++m_pos;
    }

    // A decimal number in the classic notation: optional sign, digits with an
    // optional point and fraction, an optional exponent. It ends at the first
    // character that cannot continue it; an exponent marker without digits is
    // not part of it.
    void number(float* value) {
        if (!skip_space())
            return;
        std::size_t end = m_pos;
        if (end < m_size && (m_text[end] == '+' || m_text[end] == '-'))
            ++end;
        std::size_t digits = 0;
        while (end < m_size && is_digit(m_text[end]))
            ++end, ++digits;
        if (end < m_size && m_text[end] == '.') {
            ++end;
            while (end < m_size && is_digit(m_text[end]))
                ++end, ++digits;
        }
        if (digits == 0) {
            m_at_end = end >= m_size;
            m_failed = true;
            return;
        }
        if (end < m_size && (m_text[end] == 'e' || m_text[end] == 'E')) {
            std::size_t exp = end + 1;
            if (exp < m_size && (m_text[exp] == '+' || m_text[exp] == '-'))
                ++exp;
            if (exp < m_size && is_digit(m_text[exp])) {
                while (exp < m_size && is_digit(m_text[exp]))
                    ++exp;
                end = exp;
            }
        }
        m_token.assign(m_text + m_pos, end - m_pos);
        m_pos = end;
        m_at_end = m_pos >= m_size;
        const float parsed = std::strtof(m_token.c_str(), nullptr);
        // A number too large for a float is a failed read, as in a stream.
        if (std::isinf(parsed)) {
            m_failed = true;
            return;
        }
        *value = parsed;
    }

private:
    // False, and the read fails, when nothing but white space is left.
    bool skip_space() {
        if (m_failed)
            return false;
        while (m_pos < m_size && is_space(m_text[m_pos]))
            ++m_pos;
        if (m_pos >= m_size) {
            m_at_end = true;
            m_failed = true;
            return false;
        }
        return true;
    }

    const char* m_text;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_failed = false;
    bool m_at_end = false;
    std::string m_token;
};

void read_group(cPathReader& in, Vec3f* v) {
    in.separator();
    in.number(&v->x);
    in.separator();
    in.number(&v->y);
    in.separator();
    in.number(&v->z);
    in.separator();
}

// Z-up file coordinates to the renderer's Y-up: (x, y, z) becomes (x, z, -y).
void to_y_up(Vec3f* v) {
    *v = Vec3f(v->x, v->z, -0.0f - v->y);
}
} // namespace

bool cCameraPath::load(const std::string& file_name) {
    std::vector<unsigned char> bytes;
    if (!read_file(file_name, &bytes))
        return false;
    load_text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

// Every pass appends a key, the one whose read ran into the end or into
// malformed text included: the vectors it could not read keep the previous
// key's values and are converted once more. A well-formed file therefore
// gives one key more than it holds, and the scenes' path timing counts on
// that. The first failed read ends the loading.
void cCameraPath::load_text(const char* text, std::size_t size) {
    cPathReader in(text, size);
    sCameraKey scratch;
    scratch.eye = scratch.target = scratch.up = Vec3f(0, 0, 0);
    do {
        read_group(in, &scratch.eye);
        read_group(in, &scratch.target);
        read_group(in, &scratch.up);
        to_y_up(&scratch.eye);
        to_y_up(&scratch.target);
        to_y_up(&scratch.up);
        m_keys.push_back(scratch);
    } while (in.good());
}

Vec3f cCameraPath::interpolate(Vec3f sCameraKey::*member, float t) const {
    const int n = int(m_keys.size());
    if (n == 0)
        return Vec3f(0, 0, 0);
    if (!(t > 0.0f))
        t = 0.0f;
    if (t > 0.9999880790710449f)
        t = 0.9999881f;
    const float u = float(n) * t;
    const float f = u - std::floor(u);
    int i = int(u);
    if (i > n - 1)
        i = n - 1;
    const Vec3f& a = m_keys[std::size_t(i)].*member;
    if (i >= n - 1)
        return a;
    const Vec3f& b = m_keys[std::size_t(i) + 1].*member;
    return Vec3f(a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f, a.z + (b.z - a.z) * f);
}

Vec3f cCameraPath::eye_at(float t) const {
    return interpolate(&sCameraKey::eye, t);
}

Vec3f cCameraPath::target_at(float t) const {
    return interpolate(&sCameraKey::target, t);
}

Vec3f cCameraPath::up_at(float t) const {
    if (m_keys.empty())
        return Vec3f(0, 1, 0);
    return interpolate(&sCameraKey::up, t);
}
