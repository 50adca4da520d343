int main() { int* name = 0; return name != 0; }
