/* Reads the running meter's accessible tree as a screen reader would, every 100 ms until
   it is killed: one line per read, "<unix time in ms> TAB <graph description> TAB <receive
   value>", in UTF-8. Exits 2 when no meter window shows up within 30 s. */
#define COBJMACROS
#include <windows.h>
#include <oleacc.h>
#include <stdio.h>

static const IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

static void PrintUtf8(BSTR text) {
  char bytes[1024] = "";
  if (text != NULL) WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, NULL, NULL);
  fputs(bytes, stdout);
}

static unsigned long long UnixMs(void) {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const unsigned long long ticks = ((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime;
  return ticks / 10000ULL - 11644473600000ULL;
}

int wmain(void) {
  HWND meter = NULL;
  for (int i = 0; i < 300 && meter == NULL; ++i) {
    meter = FindWindowW(L"TMainForm", NULL);
    if (meter == NULL) Sleep(100);
  }
  if (meter == NULL) {
    printf("no meter window\n");
    return 2;
  }
  CoInitialize(NULL);
  IAccessible* tree = NULL;
  if (FAILED(AccessibleObjectFromWindow(meter, (DWORD)OBJID_CLIENT, &kIAccessible,
                                        (void**)&tree)) ||
      tree == NULL) {
    printf("no accessible tree\n");
    return 1;
  }
  for (;;) {
    VARIANT graph, recv;
    VariantInit(&graph);
    VariantInit(&recv);
    graph.vt = VT_I4;
    graph.lVal = 1;
    recv.vt = VT_I4;
    recv.lVal = 2;
    BSTR description = NULL, value = NULL;
    if (FAILED(IAccessible_get_accDescription(tree, graph, &description)) ||
        FAILED(IAccessible_get_accValue(tree, recv, &value))) {
      return 0; /* the meter is gone */
    }
    printf("%llu\t", UnixMs());
    PrintUtf8(description);
    putchar('\t');
    PrintUtf8(value);
    putchar('\n');
    fflush(stdout);
    SysFreeString(description);
    SysFreeString(value);
    Sleep(100);
  }
}
