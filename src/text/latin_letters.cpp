#include "text/latin_letters.h"

#include <unicode/locid.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>

namespace zeb {

namespace {

icu::Transliterator* latinLetters() {
    static std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(
            icu::Transliterator::createInstance("Any-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        return U_SUCCESS(status) ? std::move(t) : nullptr;
    }();
    return transliterator.get();
}

} // namespace

// The one transliterator is shared, and used by one thread at a time.
std::string inLatinLetters(std::string_view utf8, bool lowerCase) {
    static std::mutex guard;
    std::lock_guard lock(guard);
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<std::int32_t>(utf8.size())));
    if (icu::Transliterator* t = latinLetters())
        t->transliterate(u);
    if (lowerCase)
        u.toLower(icu::Locale::getRoot());
    std::string out;
    u.toUTF8String(out);
    return out;
}

} // namespace zeb
