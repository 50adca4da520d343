#include <stdio.h>
#include <stdlib.h>
int main(void) { char *bytes = malloc(1); char byte = getchar() == '!' ? bytes[1] : 0; free(bytes); return byte & 0; }
