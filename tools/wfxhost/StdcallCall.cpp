// The 32-bit call thunk: pushes count words (last first), calls the function, and
// stores how many bytes the callee left on the stack (0 for a stdcall function that
// took exactly these arguments) before restoring the stack pointer.
#include "StdcallCall.h"

#if defined(__i386__)
asm(R"(
  .text
  .globl _plenvox_e2e_call_stdcall
_plenvox_e2e_call_stdcall:
  pushl %ebp
  movl %esp, %ebp
  pushl %ebx
  pushl %esi
  pushl %edi
  movl 12(%ebp), %esi
  movl 16(%ebp), %ebx
  movl %esp, %edi
1:
  testl %ebx, %ebx
  jz 2f
  decl %ebx
  pushl (%esi,%ebx,4)
  jmp 1b
2:
  call *8(%ebp)
  movl %edi, %ecx
  subl %esp, %ecx
  movl %edi, %esp
  movl 20(%ebp), %edx
  movl %ecx, (%edx)
  popl %edi
  popl %esi
  popl %ebx
  popl %ebp
  ret
)");
#endif
