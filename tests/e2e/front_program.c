/* Another program in front: it takes the foreground with a window of its own and keeps it,
   handling its messages, until the file named by its argument exists (or 60 s have passed).
   Prints "front" once its window is the foreground window. Keys the user presses then go to
   this program, as they do when the user works in another program and reaches for the
   meter. */
#include <windows.h>
#include <stdio.h>

static void Pump(void) {
  MSG msg;
  while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HWND front = CreateWindowExW(0, L"Static", L"front", WS_POPUP | WS_VISIBLE | WS_BORDER, 900,
                               700, 200, 100, NULL, NULL, GetModuleHandleW(NULL), NULL);
  BOOL said = FALSE;
  for (int i = 0; i < 1200 && GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES; ++i) {
    if (GetForegroundWindow() != front) SetForegroundWindow(front);
    if (!said && GetForegroundWindow() == front) {
      printf("front\n");
      fflush(stdout);
      said = TRUE;
    }
    MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    Pump();
  }
  DestroyWindow(front);
  return 0;
}
