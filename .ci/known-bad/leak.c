#include <stdio.h>
#include <stdlib.h>
int main(void) { char *bytes = malloc(1); if (getchar() != '!') free(bytes); return 0; }
