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

  CHECK(ub04_process_end_of_file(f) == 0);

  ub04_set_error_msg(f, "hello");
  CHECK(strcmp(ub04_error_msg(f), "hello") == 0);
  ub04_destroy(f);
  ub04_set_message_box_sink(NULL, NULL);

  if (failures) return 1;
  printf("1 passed, 0 failed\n");
  return 0;
}
