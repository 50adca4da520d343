#include <string.h>
int main(int argc, char **argv) { char name[8]; strcpy(name, argv[argc - 1]); return name[0]; }
