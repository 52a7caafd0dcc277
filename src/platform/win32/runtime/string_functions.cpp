// The C library's memory and string functions that the compiler and the
// standard headers call, with the C locale's rules. Built without the
// compiler's builtins and loop patterns, so that no loop here becomes a call
// of the function it is in.
#include <cstddef>

extern "C" {

void* memcpy(void* target, const void* source, std::size_t count) {
    auto* to = static_cast<unsigned char*>(target);
    const auto* from = static_cast<const unsigned char*>(source);
    while (count-- != 0) {
        *to++ = *from++;
    }
    return target;
}

void* memmove(void* target, const void* source, std::size_t count) {
    auto* to = static_cast<unsigned char*>(target);
    const auto* from = static_cast<const unsigned char*>(source);
    if (to <= from || to >= from + count) {
        return memcpy(target, source, count);
    }
    while (count != 0) {
        --count;
        to[count] = from[count];
    }
    return target;
}

void* memset(void* target, int value, std::size_t count) {
    auto* to = static_cast<unsigned char*>(target);
    while (count-- != 0) {
        *to++ = static_cast<unsigned char>(value);
    }
    return target;
}

int memcmp(const void* first, const void* second, std::size_t count) {
    const auto* a = static_cast<const unsigned char*>(first);
    const auto* b = static_cast<const unsigned char*>(second);
    for (; count != 0; --count, ++a, ++b) {
        if (*a != *b) {
            return *a < *b ? -1 : 1;
        }
    }
    return 0;
}

std::size_t strlen(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

std::size_t strnlen(const char* text, std::size_t limit) {
    std::size_t length = 0;
    while (length < limit && text[length] != '\0') {
        ++length;
    }
    return length;
}

int strncmp(const char* first, const char* second, std::size_t count) {
    const auto* a = reinterpret_cast<const unsigned char*>(first);
    const auto* b = reinterpret_cast<const unsigned char*>(second);
    for (; count != 0; --count, ++a, ++b) {
        if (*a != *b) {
            return *a < *b ? -1 : 1;
        }
        if (*a == '\0') {
            return 0;
        }
    }
    return 0;
}

int strcmp(const char* first, const char* second) {
    return strncmp(first, second, static_cast<std::size_t>(-1));
}

void* memchr(const void* text, int value, std::size_t count) {
    const auto* at = static_cast<const unsigned char*>(text);
    for (; count != 0; --count, ++at) {
        if (*at == static_cast<unsigned char>(value)) {
            return const_cast<unsigned char*>(at);
        }
    }
    return nullptr;
}

}  // extern "C"
