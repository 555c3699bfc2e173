/* C interface of the public helper classes: payment adjustment codes and
 * custom-form (medical necessity) answers.
 *
 * Strings are NUL-terminated bytes; a NULL string counts as "". A text
 * returned by a call stays valid until the next call on the same handle.
 * Handles belong to the thread that created them: at each call, adjustment
 * errors are queued in the message queue of the newest formatter (ub04.h)
 * alive on that thread, and trace lines go to its run log.
 * No call raises; failures come back as results.
 *
 *   ub04_payadj *p = ub04_payadj_create();
 *   const char *total;
 *   if (ub04_payadj_add_codes(p, "", "PR|1|5|0|CO|45|10|1", &total) == 0)
 *     puts(total);                                  // "CO|45|10|1|PR|1|5|0"
 *   ub04_payadj_destroy(p);
 *
 *   ub04_cform_array *a = ub04_cform_array_create();
 *   ub04_cform *q = ub04_cform_create();
 *   ub04_cform_set(q, UB04_CFORM_CHARGE_CUSTOM_FORM, "CMS-846");
 *   ub04_cform_set(q, UB04_CFORM_QUESTION_ID_NAME, "LYMPHEDEMA");
 *   ub04_cform_array_add_tail(a, q);
 *   ub04_cform *slot = ub04_cform_array_get(a, 1);  // shares slot 1's object
 *   ub04_cform_get(slot, UB04_CFORM_QUESTION_NUMBER); // "5"
 *   ub04_cform_destroy(slot); ub04_cform_destroy(q); ub04_cform_array_destroy(a);
 */
#ifndef UB04_CLASSES_H
#define UB04_CLASSES_H

#include <stdint.h>

#include "ub04/export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- PayAdjHelper ------------------------------------------------------ */

typedef struct ub04_payadj ub04_payadj;

/* One adjustment. curAmount is fixed point in ten-thousandths
 * (12.5 is 125000). */
typedef struct ub04_payment_adj {
  const char *sGroup;
  const char *sReason;
  int64_t curAmount;
  double dfUnit;
} ub04_payment_adj;

/* NULL when the helper could not be created. */
UB04_API ub04_payadj *ub04_payadj_create(void);
UB04_API void ub04_payadj_destroy(ub04_payadj *p);

/* Merges detail into total; *total_out receives the new total (total
 * itself on failure). Returns 0, or 3 with the error queued. */
UB04_API int16_t ub04_payadj_add_codes(ub04_payadj *p, const char *total, const char *detail,
                              const char **total_out);

/* Reads codes into *items (at least one element; a blank one when codes
 * hold no complete adjustment) and *count. Returns 0, or the run-time error
 * number (6: text over 32767 bytes) with *items NULL and *count 0. */
UB04_API int16_t ub04_payadj_parse(ub04_payadj *p, const char *codes,
                          const ub04_payment_adj **items, int32_t *count);

/* ---- CCFormInfo -------------------------------------------------------- */

typedef struct ub04_cform ub04_cform;

/* The text properties, in their order. */
typedef enum ub04_cform_field {
  UB04_CFORM_CHARGE_CUSTOM_FORM = 0, /* sChargeCustomForm */
  UB04_CFORM_QUESTION_ID_NAME = 1,   /* sQuestionIDName */
  UB04_CFORM_QUESTION_TYPE = 2,      /* sQuestionType */
  UB04_CFORM_ANSWER_VALUE = 3,       /* sAnswerValue */
  UB04_CFORM_QUESTION_NUMBER = 4     /* sQuestionNumber */
} ub04_cform_field;

/* A new, empty question; NULL when it could not be created. */
UB04_API ub04_cform *ub04_cform_create(void);
/* Releases the handle; an object still held by a list lives on there. */
UB04_API void ub04_cform_destroy(ub04_cform *q);

/* "" for an unknown field. */
UB04_API const char *ub04_cform_get(ub04_cform *q, ub04_cform_field field);
/* Returns 0, or 5 for an unknown field. */
UB04_API int16_t ub04_cform_set(ub04_cform *q, ub04_cform_field field, const char *value);
UB04_API int16_t ub04_cform_sequence(ub04_cform *q);
UB04_API void ub04_cform_set_sequence(ub04_cform *q, int16_t sequence);

UB04_API void ub04_cform_empty_me(ub04_cform *q);
UB04_API void ub04_cform_determine_question_number(ub04_cform *q);

/* ---- CCFormInfoArray --------------------------------------------------- */

typedef struct ub04_cform_array ub04_cform_array;

/* A list of 100 empty slots; NULL when it could not be created. */
UB04_API ub04_cform_array *ub04_cform_array_create(void);
UB04_API void ub04_cform_array_destroy(ub04_cform_array *a);

UB04_API void ub04_cform_array_empty_me(ub04_cform_array *a);
/* A new handle on the object in slot n (1..100), shared with the list:
 * changes through it show in the list. NULL for any other n. Release it
 * with ub04_cform_destroy. */
UB04_API ub04_cform *ub04_cform_array_get(ub04_cform_array *a, int32_t n);
/* Returns 0 (also when the list is full and nothing changed), or the
 * run-time error number (6: a narrative over 32767 bytes). */
UB04_API int16_t ub04_cform_array_add_tail(ub04_cform_array *a, const ub04_cform *q);
UB04_API void ub04_cform_array_sort(ub04_cform_array *a);

#ifdef __cplusplus
}
#endif

#endif
