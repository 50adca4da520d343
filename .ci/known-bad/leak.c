#include <stdlib.h>
int main(void) { return malloc(1) == 0; }
