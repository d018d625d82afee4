// What no code of the tool may do, for the handler check of tests/executable_tables_test.py to
// find: an exception handler registered through the thread block's address, read from fs:[0x18],
// rather than through fs:[0] itself. Built, never run.
int main() {
  asm volatile("mov %%fs:0x18, %%eax\n\tmov %%esp, (%%eax)" : : : "eax", "memory");
  return 0;
}
