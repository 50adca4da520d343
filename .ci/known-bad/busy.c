int main(void) { for (unsigned long turn = TURNS; turn != 0; turn--) __asm__ volatile(""); return 0; }
