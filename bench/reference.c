/* The work of student-record's dialogue, done as plainly as C does it, for the count of
 * instructions that CI compares: it reads the three answers, makes the copies of the names that
 * the program makes (the record's own and the one that an accessor hands out) and writes the
 * same report through C stdio. */
#define _POSIX_C_SOURCE 200809L
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* One answer line, without its line feed; empty where there is none. */
static char *read_line(void)
{
    char *line = NULL;
    size_t size = 0;
    ssize_t length = getline(&line, &size, stdin);
    if (length < 0) {
        length = 0;
        line = realloc(line, 1);
    } else if (length > 0 && line[length - 1] == '\n') {
        length--;
    }
    if (line == NULL) {
        exit(EXIT_FAILURE);
    }
    line[length] = '\0';
    return line;
}

static char *copy(const char *text)
{
    size_t size = strlen(text) + 1;
    char *copied = malloc(size);
    if (copied == NULL) {
        exit(EXIT_FAILURE);
    }
    return memcpy(copied, text, size);
}

int main(void)
{
    float tuition = 0.0F;
    fputs("Please enter a first name: ", stdout);
    fflush(stdout);
    char *first_name = read_line();
    fputs("Please enter a last name: ", stdout);
    fflush(stdout);
    char *last_name = read_line();
    fputs("Please enter a tuition amount: ", stdout);
    fflush(stdout);
    if (scanf("%f", &tuition) != 1) {
        tuition = 0.0F;
    }

    char *record_first = copy(first_name);
    char *record_last = copy(last_name);
    char *shown_first = copy(record_first);
    char *shown_last = copy(record_last);
    printf("*\nStudent 1 holds: []-First Name\n[]-Last Name\n[0]-Tuition Balance\n");
    printf("*\nStudent 2 holds: [%s]-First Name\n[%s]-Last Name\n[%g]-Tuition Balance\n*\n",
        shown_first, shown_last, (double)tuition);
    free(shown_last);
    free(shown_first);
    free(record_last);
    free(record_first);
    free(last_name);
    free(first_name);
    return fclose(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
