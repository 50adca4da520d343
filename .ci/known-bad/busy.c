int main(void) { for (volatile int i = 0; i < 10000000; i++) {} return 0; }
