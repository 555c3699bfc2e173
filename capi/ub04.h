/* C interface of the UB-04 claim formatter, for hosts in any language.
 *
 * A handle wraps one Format_Class. Strings are NUL-terminated bytes. All
 * calls on a handle come from the thread that created it; instances created
 * on one thread share that thread's run state, and creating one resets it.
 *
 *   ub04_format *f = ub04_create();
 *   ub04_here_is_a_message(f, "1", "/var/claims");
 *   ub04_here_is_a_message(f, "2", "batch.fmt");
 *   if (ub04_format_record(f, key, rec) != 0)
 *     for (int i = 1; strcmp(msg = ub04_get_message(f, i), "END"); ++i) ...
 *   ub04_process_end_of_file(f);
 *   ub04_process_formatted_records(f);
 *   ub04_destroy(f);
 */
#ifndef UB04_CAPI_H
#define UB04_CAPI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ub04_format ub04_format;

/* NULL when the instance could not be created. */
ub04_format *ub04_create(void);
void ub04_destroy(ub04_format *f);

/* " 1//TEXT//" or "END". The text stays valid until the next call on f. */
const char *ub04_get_message(ub04_format *f, int32_t index);
int16_t ub04_here_is_a_message(ub04_format *f, const char *msg_nr, const char *msg);
int16_t ub04_format_record(ub04_format *f, const char *key, const char *rec);
int16_t ub04_process_end_of_file(ub04_format *f);
int16_t ub04_process_formatted_records(ub04_format *f);

/* gsErrorMsg: valid until the next call on f. */
const char *ub04_error_msg(ub04_format *f);
void ub04_set_error_msg(ub04_format *f, const char *text);

/* Modal message boxes of this thread go to fn (NULL restores the default,
 * one line on standard error). */
typedef void (*ub04_message_box_fn)(const char *text, void *user);
void ub04_set_message_box_sink(ub04_message_box_fn fn, void *user);

#ifdef __cplusplus
}
#endif

#endif
