/* Marks the calls the shared library exports. Everything else in the
 * library is hidden, so a host can only reach what these headers declare. */
#ifndef UB04_EXPORT_H
#define UB04_EXPORT_H

#if defined(__GNUC__) || defined(__clang__)
#define UB04_API __attribute__((visibility("default")))
#else
#define UB04_API
#endif

#endif
