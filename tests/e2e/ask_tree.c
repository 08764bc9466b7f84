/* Asks the running meter for its accessible tree as an assistive program does first, and
   prints how many children its client area has. Exits 0 when the meter answered. */
#define COBJMACROS
#include <windows.h>
#include <oleacc.h>
#include <stdio.h>

/* IAccessible's interface id, as oleacc.h declares it. */
static const IID kIAccessible = {
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

int wmain(void) {
  HWND meter = NULL;
  for (int i = 0; i < 50 && meter == NULL; ++i) {
    meter = FindWindowW(L"TMainForm", NULL);
    if (meter == NULL) Sleep(100);
  }
  if (meter == NULL) {
    printf("no meter window\n");
    return 2;
  }
  CoInitialize(NULL);
  IAccessible* tree = NULL;
  const HRESULT hr =
      AccessibleObjectFromWindow(meter, (DWORD)OBJID_CLIENT, &kIAccessible, (void**)&tree);
  long children = 0;
  if (SUCCEEDED(hr) && tree != NULL) {
    IAccessible_get_accChildCount(tree, &children);
    IAccessible_Release(tree);
  }
  CoUninitialize();
  printf("%ld children (0x%08lx)\n", children, (unsigned long)hr);
  return children > 0 ? 0 : 1;
}
