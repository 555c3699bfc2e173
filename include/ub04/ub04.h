/* C interface of the UB-04 claim formatter, for hosts in any language.
 *
 * A handle wraps one formatter run. Strings are NUL-terminated bytes; a NULL
 * string counts as "". No call raises or aborts: failures come back as
 * results and queued messages.
 *
 * Threads: all calls on a handle come from the thread that created it. Each
 * handle is a run of its own: handles on one thread or on many never share
 * or mix anything (settings, batch, files, messages). Destroying a handle
 * before ub04_process_end_of_file abandons its batch: its unfinished file is
 * removed (the last good file keeps its content), its lock released.
 *
 * Call order
 *   1. ub04_create().
 *   2. Host messages (ub04_here_is_a_message): "1" the output folder, then
 *      "2" the formatted-record file's name in it ("2" must follow "1"); as
 *      needed "FILEMODE", "4", "5", "6", "7", "PRINTFORM", "CONNECTIONSTRING",
 *      "BATCHROWID", "QUARVELUSER". "VER", "BCM-1" and "HOW_MANY_CLAIMS" may
 *      be asked at any time. docs/host-protocol.md describes each.
 *   3. ub04_format_record() for every record of the batch, in order; the
 *      first must be a practice record (type 1000).
 *   4. ub04_process_end_of_file() once: writes the last claim and closes
 *      the formatted-record file.
 *   5. ub04_process_formatted_records() to print that file.
 *   6. ub04_destroy().
 *   At any time before the end of the batch, ub04_set_claim_callback() to
 *   receive each claim as a record (below).
 *
 * Messages
 *   Every call except ub04_get_message empties the message queue when it
 *   starts, so read the messages of one call before making the next. Read
 *   them with ub04_get_message(f, 1), (f, 2), ... until "END". Each is
 *   " N//TEXT//", N the message number (its severity):
 *     1  an answer or a note ("VER", "BCM-1", "HOW_MANY_CLAIMS")
 *     2  a warning: the batch goes on and its end does not fail
 *     3  an error
 *
 * Results (int16_t)
 *   ub04_here_is_a_message      0 done; 3 refused or failed, error queued
 *                               (e.g. "2" before "1", a FILEMODE other than
 *                               "0600"/"0640", a log or database that would
 *                               not open, a test-claim range that is not
 *                               "A//B"). "BCM-1", "VER", "HOW_MANY_CLAIMS",
 *                               "QUARVELUSER" and unknown commands answer
 *                               with the highest message number queued (at
 *                               least 1), or 0 when nothing was queued.
 *   ub04_format_record          0 taken (warnings may be queued); 1 an error
 *                               was queued; 3 the first record was not a
 *                               practice record (1000): nothing of the
 *                               batch is written (its end answers 1).
 *   ub04_process_end_of_file    0 done (warnings may be queued); 1 an error
 *                               was queued. When the batch ended inside a
 *                               charge (that charge is not billed) or its
 *                               last claim was refused, the claims before
 *                               are written and the file takes its name,
 *                               whole. A file that could not be finished
 *                               (a write failed, the first record was not
 *                               a practice record) keeps its previous
 *                               content.
 *   ub04_process_formatted_records
 *                               0 printed; 1 anything was queued (nothing or
 *                               not everything was printed).
 *   A NULL handle gives 3 from ub04_here_is_a_message and 1 from the others.
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
#ifndef UB04_UB04_H
#define UB04_UB04_H

#include <stdint.h>

#include "ub04/export.h"
#include "ub04/version.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct ub04_format ub04_format;

/* The loaded library's version, "MAJOR.MINOR.PATCH" (the "VER" answer).
 * Compare with UB04_VERSION_STRING to detect a header/library mismatch. */
UB04_API const char *ub04_version(void);

/* NULL when the instance could not be created. */
UB04_API ub04_format *ub04_create(void);
/* Closes the database connection and abandons an unfinished batch; NULL is
 * ignored. */
UB04_API void ub04_destroy(ub04_format *f);

/* Message index (1-based) of the queue: " N//TEXT//", or "END" past the
 * last one (also for an index below 1 or a NULL handle). The text stays
 * valid until the next call on f. */
UB04_API const char *ub04_get_message(ub04_format *f, int32_t index);
/* A host message: msg_nr names the command, msg is its value. */
UB04_API int16_t ub04_here_is_a_message(ub04_format *f, const char *msg_nr, const char *msg);
/* One record: key holds 11 "//"-separated fields, field 10 the record type;
 * rec the record's fields (docs/records.md). */
UB04_API int16_t ub04_format_record(ub04_format *f, const char *key, const char *rec);
UB04_API int16_t ub04_process_end_of_file(ub04_format *f);
UB04_API int16_t ub04_process_formatted_records(ub04_format *f);

/* gsErrorMsg, the last error text the run composed: valid until the next
 * call on f. */
UB04_API const char *ub04_error_msg(ub04_format *f);
UB04_API void ub04_set_error_msg(ub04_format *f, const char *text);

/* Modal message boxes of this thread go to fn (NULL restores the default,
 * one line on standard error). */
typedef void (*ub04_message_box_fn)(const char *text, void *user);
UB04_API void ub04_set_message_box_sink(ub04_message_box_fn fn, void *user);

/* Claim records
 *
 * Each claim the run decides is handed to fn as a record, in the call that
 * decided it (the record or end-of-batch call whose charge ended the claim),
 * in batch order: what its pages show, box by box, by name. The record and
 * every text read from it are valid until fn returns; copy what you keep.
 * fn must not call back into f. NULL fn stops the calls.
 *
 *   static void on_claim(const ub04_claim *c, void *user) {
 *     printf("%s %s %d lines\n", ub04_claim_item(c, "account"),
 *            ub04_claim_item(c, "total_charges"), ub04_claim_count(c, "lines"));
 *   }
 *   ub04_set_claim_callback(f, on_claim, NULL);
 *
 * Names (docs/host-protocol.md lists them all): plain items such as
 * "account", "type_of_bill", "statement_from", "total_charges", "fate"
 * ("written", "held" or "refused"); lists such as "pages" (item
 * "sequence"), "lines" ("revenue_code", "hcpcs", "service_date", "units",
 * "charges", ...), "payers", "diagnoses", "providers", "findings". */
typedef struct ub04_claim ub04_claim;
typedef void (*ub04_claim_fn)(const ub04_claim *claim, void *user);
UB04_API void ub04_set_claim_callback(ub04_format *f, ub04_claim_fn fn, void *user);
/* A plain item of the record; NULL for a name that is not one. */
UB04_API const char *ub04_claim_item(const ub04_claim *claim, const char *name);
/* The number of entries of a list; -1 for a name that is not a list. */
UB04_API int32_t ub04_claim_count(const ub04_claim *claim, const char *list);
/* An item of entry index (from 0) of a list; NULL when the list, the entry
 * or the name is not there. */
UB04_API const char *ub04_claim_list_item(const ub04_claim *claim, const char *list,
                                          int32_t index, const char *name);
/* The whole record as one line of JSON (no line end). */
UB04_API const char *ub04_claim_json(const ub04_claim *claim);

#ifdef __cplusplus
}
#endif

#endif
