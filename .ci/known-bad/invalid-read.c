#include <stdlib.h>
int main(void) { char *bytes = malloc(1); char byte = bytes[1]; free(bytes); return byte & 0; }
