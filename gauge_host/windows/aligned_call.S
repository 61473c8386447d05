# aligned_call.S: the one place gauge-host enters a module's code.
#
#   uintptr_t AlignedCallWord(const void* function, const uintptr_t* words, int count, uintptr_t* frame);
#   double AlignedCallDouble(same);
#
# Pushes the words as a standard call's arguments and calls the function
# with the stack pointer at 4 mod 16 on entry: a host built by another
# compiler guarantees only 4-byte alignment, so module code that assumes
# 16 must fail here as it would there. Both names are the same code: the
# result is whatever the function left in eax or on the x87 stack, and
# the stack pointer is restored from the frame, whatever the callee popped.
#
# With frame non-null the thunk stores its frame there, so the call gate
# can abandon a call that never returns: it points the stuck thread at
# AlignedCallAbandon with that frame, and the call returns 0 (0.0 when
# double is nonzero).
    .intel_syntax noprefix
    .text
    .globl _AlignedCallWord
    .globl _AlignedCallDouble
    .globl _AlignedCallAbandon
_AlignedCallWord:
_AlignedCallDouble:
    push ebp
    mov ebp, esp
    push esi
    push edi
    push ebx
    push dword ptr fs:[0]       # the exception handler chain, for an abandoned call
    mov eax, [ebp + 20]
    test eax, eax
    jz 1f
    mov [eax], ebp
1:  mov ecx, [ebp + 16]
    mov esi, [ebp + 12]
    lea eax, [ecx * 4]
    sub esp, eax
    and esp, -16
    sub esp, 8                  # the call's return address makes it 4 mod 16
    mov edi, esp
    cld
    rep movsd
    call [ebp + 8]
2:  lea esp, [ebp - 16]
    pop dword ptr fs:[0]
    pop ebx
    pop edi
    pop esi
    pop ebp
    ret

# Entered with ebp the abandoned call's frame and eax nonzero for a double.
_AlignedCallAbandon:
    fninit                      # whatever the module left on the x87 stack
    cld
    test eax, eax
    jz 3f
    fldz
3:  xor eax, eax
    jmp 2b
