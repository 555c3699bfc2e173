/* Drives the component through its C interface, as a C host would. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include "capi/ub04.h"

static int failures = 0;
#define CHECK(cond)                                                   \
  do {                                                                \
    if (!(cond)) {                                                    \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

/* What the claim callback saw. */
struct claims_seen {
  int count;
  int lines;
  char first_account[64];
  char third_total[32];
  int json_ok, items_ok;
};

static void on_claim(const ub04_claim *c, void *user) {
  struct claims_seen *seen = user;
  const char *account = ub04_claim_item(c, "account");
  const char *fate = ub04_claim_item(c, "fate");
  /* Texts read earlier in the callback stay valid while it runs. */
  const char *first_code = ub04_claim_list_item(c, "lines", 0, "revenue_code");
  const char *json = ub04_claim_json(c);
  int n = ub04_claim_count(c, "lines");
  ++seen->count;
  seen->lines += n;
  if (seen->count == 1 && account) snprintf(seen->first_account, sizeof seen->first_account, "%s", account);
  if (seen->count == 3) snprintf(seen->third_total, sizeof seen->third_total, "%s", ub04_claim_item(c, "total_charges"));
  seen->items_ok += fate && strcmp(fate, "written") == 0 && first_code && strlen(first_code) == 4 &&
                    ub04_claim_item(c, "no_such_item") == NULL &&
                    ub04_claim_count(c, "no_such_list") == -1 &&
                    ub04_claim_list_item(c, "lines", n, "revenue_code") == NULL &&
                    ub04_claim_list_item(c, "lines", 0, "no_such_item") == NULL &&
                    strcmp(ub04_claim_list_item(c, "pages", 0, "sequence"),
                           ub04_claim_item(c, "first_sequence")) == 0;
  seen->json_ok += json && strncmp(json, "{\"fate\":\"written\",", 18) == 0 &&
                   strstr(json, account) != NULL && json[strlen(json) - 1] == '}';
}

/* Formats the batch file at path through f: "KEY<TAB>RECORD" lines. */
static int run_batch(ub04_format *f, const char *path) {
  FILE *in = fopen(path, "r");
  if (!in) return 1;
  char line[65536];
  int bad = 0;
  while (fgets(line, sizeof line, in)) {
    char *tab;
    line[strcspn(line, "\r\n")] = 0;
    if (line[0] == '#' || line[0] == '@' || !(tab = strchr(line, '\t'))) continue;
    *tab = 0;
    bad |= ub04_format_record(f, line, tab + 1) != 0;
  }
  fclose(in);
  return bad | (ub04_process_end_of_file(f) != 0);
}

static int boxes = 0;
static void on_box(const char *text, void *user) {
  (void)text;
  ++*(int *)user;
}

int main(int argc, char **argv) {
  const char *dir = argc > 1 ? argv[1] : "capi_out";
  mkdir(dir, 0755);
  ub04_set_message_box_sink(on_box, &boxes);

  ub04_format *f = ub04_create();
  CHECK(f != NULL);

  CHECK(ub04_here_is_a_message(f, "VER", "") == 1);
  const char *m = ub04_get_message(f, 1);
  CHECK(strncmp(m, " 1//", 4) == 0);
  CHECK(strcmp(ub04_get_message(f, 2), "END") == 0);

  CHECK(ub04_here_is_a_message(f, "2", "x.fmt") == 3);
  CHECK(strncmp(ub04_get_message(f, 1), " 3//Output Path was not set.", 28) == 0);

  CHECK(ub04_here_is_a_message(f, "1", dir) == 0);
  CHECK(ub04_here_is_a_message(f, "2", "capi.fmt") == 0);

  /* A first record that is not the practice record. */
  CHECK(ub04_format_record(f, "k//k//k//k//k//k//k//k//k//k//1050", "X") == 3);
  CHECK(strcmp(ub04_get_message(f, 1), " 3//1st Record was not Practice Info (type:1000)//") == 0);
  CHECK(strcmp(ub04_get_message(f, 2), " 3//Please call support for help//") == 0);
  CHECK(strcmp(ub04_get_message(f, 3), "END") == 0);

  /* Nothing of such a batch is written, and its end says so. */
  CHECK(ub04_process_end_of_file(f) == 1);
  CHECK(strstr(ub04_get_message(f, 1), "the batch's first record was not a practice record") != NULL);

  ub04_set_error_msg(f, "hello");
  CHECK(strcmp(ub04_error_msg(f), "hello") == 0);
  ub04_destroy(f);

  /* Claim records: the example batch's six claims, one call each. */
  if (argc > 2) {
    struct claims_seen seen = {0};
    ub04_format *g = ub04_create();
    CHECK(g != NULL);
    ub04_set_claim_callback(g, on_claim, &seen);
    CHECK(ub04_here_is_a_message(g, "1", dir) == 0);
    CHECK(ub04_here_is_a_message(g, "2", "claims.fmt") == 0);
    CHECK(run_batch(g, argv[2]) == 0);
    CHECK(seen.count == 6);
    CHECK(seen.lines == 32);
    CHECK(seen.items_ok == 6);
    CHECK(seen.json_ok == 6);
    CHECK(strcmp(seen.first_account, "") != 0);
    CHECK(strcmp(seen.third_total, "2112.00") == 0);
    ub04_set_claim_callback(g, NULL, NULL);
    ub04_destroy(g);
  }
  ub04_set_message_box_sink(NULL, NULL);

  if (failures) return 1;
  printf("1 passed, 0 failed\n");
  return 0;
}
