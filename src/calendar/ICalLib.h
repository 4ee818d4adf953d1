// The few things every use of libical in this folder needs: owners that free what
// libical hands out, and the library's error handling set so that a bad file is
// reported, never a reason to stop the program.
#pragma once

#include <libical/ical.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace nelo {

struct ICalComponentFree {
    void operator()(icalcomponent* p) const { icalcomponent_free(p); }
};
struct ICalParserFree {
    void operator()(icalparser* p) const { icalparser_free(p); }
};
struct ICalIteratorFree {
    void operator()(icalrecur_iterator* p) const { icalrecur_iterator_free(p); }
};
struct ICalBufferFree {
    void operator()(char* p) const { icalmemory_free_buffer(p); }
};

using ICalComponentPtr = std::unique_ptr<icalcomponent, ICalComponentFree>;
using ICalParserPtr = std::unique_ptr<icalparser, ICalParserFree>;
using ICalIteratorPtr = std::unique_ptr<icalrecur_iterator, ICalIteratorFree>;
using ICalBufferPtr = std::unique_ptr<char, ICalBufferFree>;

/// Tells libical that its errors are to be returned, not to end the program.
inline void UseICalQuietly() { icalerror_set_errors_are_fatal(0); }

/// The iCalendar text of a component or property (UTF-8, CR LF, folded).
inline std::string ICalString(icalcomponent* p) {
    ICalBufferPtr text(icalcomponent_as_ical_string_r(p));
    return text ? std::string(text.get()) : std::string();
}
inline std::string ICalString(icalproperty* p) {
    ICalBufferPtr text(icalproperty_as_ical_string_r(p));
    return text ? std::string(text.get()) : std::string();
}

}  // namespace nelo
