/* Drives the adjustment and custom-form classes through their C interface,
 * as a C host would. */
#include <stdio.h>
#include <string.h>

#include "capi/classes.h"

static int checks = 0, failures = 0;
#define CHECK(cond)                                                            \
  do {                                                                         \
    ++checks;                                                                  \
    if (!(cond)) {                                                             \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                              \
    }                                                                          \
  } while (0)

static void payment_adjustments(void) {
  ub04_payadj *p = ub04_payadj_create();
  CHECK(p != NULL);
  const char *total = NULL;
  CHECK(ub04_payadj_add_codes(p, "", "PR|1|5|0|CO|45|10|1|CO|45|2.5|1", &total) == 0);
  CHECK(strcmp(total, "CO|45|12.5|2|PR|1|5|0") == 0);

  /* The previous result fed back as the total. */
  CHECK(ub04_payadj_add_codes(p, total, "CO|45|0.5|1", &total) == 0);
  CHECK(strcmp(total, "CO|45|13|3|PR|1|5|0") == 0);

  /* An overflowing sum fails and hands back the total as it was. */
  CHECK(ub04_payadj_add_codes(p, "CO|1|900000000000000|1", "CO|1|900000000000000|1", &total) == 3);
  CHECK(strcmp(total, "CO|1|900000000000000|1") == 0);

  const ub04_payment_adj *items = NULL;
  int32_t count = -1;
  CHECK(ub04_payadj_parse(p, "CO|45|12.5|2|PR|1|5", &items, &count) == 0);
  CHECK(count == 1);
  CHECK(items != NULL && strcmp(items[0].sGroup, "CO") == 0 && strcmp(items[0].sReason, "45") == 0);
  CHECK(items != NULL && items[0].curAmount == 125000 && items[0].dfUnit == 2.0);

  CHECK(ub04_payadj_parse(p, NULL, &items, &count) == 0);
  CHECK(count == 1 && strcmp(items[0].sGroup, "") == 0 && items[0].curAmount == 0);

  static char long_list[40001];
  memset(long_list, 'A', sizeof long_list - 1);
  CHECK(ub04_payadj_parse(p, long_list, &items, &count) == 6);
  CHECK(items == NULL && count == 0);

  CHECK(ub04_payadj_add_codes(NULL, "", "CO|1|1|1", &total) == 3);
  ub04_payadj_destroy(p);
}

static void custom_forms(void) {
  ub04_cform *q = ub04_cform_create();
  CHECK(q != NULL);
  CHECK(ub04_cform_set(q, UB04_CFORM_CHARGE_CUSTOM_FORM, "CMS-846") == 0);
  CHECK(ub04_cform_set(q, UB04_CFORM_QUESTION_ID_NAME, "LYMPHEDEMA") == 0);
  ub04_cform_determine_question_number(q);
  CHECK(strcmp(ub04_cform_get(q, UB04_CFORM_QUESTION_NUMBER), "5") == 0);
  CHECK(strcmp(ub04_cform_get(q, UB04_CFORM_QUESTION_TYPE), "O") == 0);
  CHECK(ub04_cform_sequence(q) == 5);
  CHECK(ub04_cform_set(q, (ub04_cform_field)99, "x") == 5);
  CHECK(strcmp(ub04_cform_get(q, (ub04_cform_field)99), "") == 0);

  ub04_cform_array *a = ub04_cform_array_create();
  CHECK(a != NULL);
  ub04_cform_set(q, UB04_CFORM_CHARGE_CUSTOM_FORM, "CMS-849");
  ub04_cform_set(q, UB04_CFORM_QUESTION_ID_NAME, "NARRATIVE");
  ub04_cform_set(q, UB04_CFORM_ANSWER_VALUE, "one;two;three");
  CHECK(ub04_cform_array_add_tail(a, q) == 0);

  ub04_cform *s3 = ub04_cform_array_get(a, 3);
  CHECK(s3 != NULL);
  CHECK(strcmp(ub04_cform_get(s3, UB04_CFORM_ANSWER_VALUE), "three") == 0);
  CHECK(strcmp(ub04_cform_get(s3, UB04_CFORM_QUESTION_NUMBER), "C3") == 0);
  CHECK(ub04_cform_array_get(a, 0) == NULL);
  CHECK(ub04_cform_array_get(a, 101) == NULL);

  /* A slot handle shares the list's object. */
  ub04_cform *s4 = ub04_cform_array_get(a, 4);
  ub04_cform_set(s4, UB04_CFORM_CHARGE_CUSTOM_FORM, "CMS-10126");
  ub04_cform_array_sort(a);
  ub04_cform *s1 = ub04_cform_array_get(a, 1);
  CHECK(strcmp(ub04_cform_get(s1, UB04_CFORM_CHARGE_CUSTOM_FORM), "CMS-10126") == 0);
  ub04_cform_destroy(s1);

  /* Handles outlive the list and Empty_Me. */
  ub04_cform_array_empty_me(a);
  ub04_cform *fresh = ub04_cform_array_get(a, 3);
  CHECK(strcmp(ub04_cform_get(fresh, UB04_CFORM_ANSWER_VALUE), "") == 0);
  ub04_cform_destroy(fresh);
  ub04_cform_array_destroy(a);
  CHECK(strcmp(ub04_cform_get(s3, UB04_CFORM_ANSWER_VALUE), "three") == 0);

  ub04_cform_empty_me(q);
  CHECK(strcmp(ub04_cform_get(q, UB04_CFORM_CHARGE_CUSTOM_FORM), "") == 0);
  CHECK(ub04_cform_sequence(q) == 0);
  CHECK(ub04_cform_array_add_tail(NULL, q) == 5);

  ub04_cform_destroy(s3);
  ub04_cform_destroy(s4);
  ub04_cform_destroy(q);
}

int main(void) {
  payment_adjustments();
  custom_forms();
  printf("%d passed, %d failed\n", checks - failures, failures);
  return failures ? 1 : 0;
}
