/* A C host: formats a batch file into OUTDIR and prints it, listing each
 * claim as the formatter decides it.
 *
 *   cc host.c $(pkg-config --cflags --libs ub04ppa) -o host
 *   ./host batch.txt out
 *
 * Batch lines: "KEY<TAB>RECORD" for a record, "@NR<TAB>TEXT" for a host
 * message, "#" comments. Exit status 0 when every call succeeded. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <ub04/ub04.h>

/* Prints the queued messages; returns how many were errors (number 3). */
static int report(ub04_format *f, const char *what) {
  int errors = 0;
  const char *msg;
  for (int32_t i = 1; strcmp(msg = ub04_get_message(f, i), "END") != 0; ++i) {
    fprintf(stderr, "%s: %s\n", what, msg);
    if (strncmp(msg, " 3//", 4) == 0) ++errors;
  }
  return errors;
}

/* One line per claim: its first page, account, lines, total and fate. */
static void on_claim(const ub04_claim *c, void *user) {
  (void)user;
  printf("claim %s: account %s, %d line(s) on %s page(s), total %s, %s\n",
         ub04_claim_item(c, "first_sequence"), ub04_claim_item(c, "account"),
         (int)ub04_claim_count(c, "lines"), ub04_claim_item(c, "page_count"),
         ub04_claim_item(c, "total_charges"), ub04_claim_item(c, "fate"));
}

int main(int argc, char **argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s BATCH OUTDIR\n", argv[0]);
    return 2;
  }
  if (strcmp(ub04_version(), UB04_VERSION_STRING) != 0)
    fprintf(stderr, "note: built against %s, running %s\n", UB04_VERSION_STRING, ub04_version());
  FILE *in = fopen(argv[1], "r");
  if (!in) {
    perror(argv[1]);
    return 2;
  }
  ub04_format *f = ub04_create();
  if (!f) {
    fprintf(stderr, "the formatter could not be created\n");
    fclose(in);
    return 1;
  }
  int failed = 0;
  ub04_set_claim_callback(f, on_claim, NULL);
  failed |= ub04_here_is_a_message(f, "1", argv[2]) != 0;
  failed |= ub04_here_is_a_message(f, "2", "claims.fmt") != 0;
  report(f, "set-up");
  char line[65536];
  while (!failed && fgets(line, sizeof line, in)) {
    line[strcspn(line, "\r\n")] = '\0';
    char *tab = strchr(line, '\t');
    if (line[0] == '#' || !tab) continue;
    *tab = '\0';
    int16_t r = line[0] == '@' ? ub04_here_is_a_message(f, line + 1, tab + 1)
                               : ub04_format_record(f, line, tab + 1);
    if (report(f, line) > 0 || r != 0) failed = 1;
  }
  if (ferror(in)) {
    perror(argv[1]);
    failed = 1;
  }
  fclose(in);
  failed |= ub04_process_end_of_file(f) != 0;
  report(f, "end of batch");
  if (!failed) {
    failed |= ub04_process_formatted_records(f) != 0;
    report(f, "printing");
  }
  ub04_destroy(f);
  printf("%s\n", failed ? "failed" : "formatted and printed");
  return failed ? 1 : 0;
}
