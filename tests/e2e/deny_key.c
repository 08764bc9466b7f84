/* Turns writing to a key of the current user's registry off and on again, as a locked-down
 * account or a security program would: deny_key.exe deny|allow <key under HKCU>.
 * deny adds an entry that refuses the current user setting values, making subkeys and
 * deleting; allow takes every refusing entry out again. */
#include <windows.h>

#include <aclapi.h>
#include <stdio.h>
#include <string.h>

static int Deny(HKEY key) {
  PACL old = NULL, acl = NULL;
  PSECURITY_DESCRIPTOR sd = NULL;
  EXPLICIT_ACCESSW entry;
  memset(&entry, 0, sizeof(entry));
  entry.grfAccessPermissions = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | DELETE;
  entry.grfAccessMode = DENY_ACCESS;
  entry.grfInheritance = NO_INHERITANCE;
  entry.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
  entry.Trustee.ptstrName = L"CURRENT_USER";
  if (GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, &old, NULL,
                      &sd) != ERROR_SUCCESS ||
      SetEntriesInAclW(1, &entry, old, &acl) != ERROR_SUCCESS ||
      SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, acl, NULL) !=
          ERROR_SUCCESS) {
    return 1;
  }
  LocalFree(acl);
  LocalFree(sd);
  return 0;
}

static int Allow(HKEY key) {
  PACL old = NULL;
  PSECURITY_DESCRIPTOR sd = NULL;
  if (GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, &old, NULL,
                      &sd) != ERROR_SUCCESS ||
      old == NULL) {
    return 1;
  }
  /* The same entries less the refusing ones, in their order. */
  for (DWORD i = old->AceCount; i-- > 0;) {
    ACE_HEADER* ace = NULL;
    if (GetAce(old, i, (void**)&ace) && ace->AceType == ACCESS_DENIED_ACE_TYPE) DeleteAce(old, i);
  }
  const DWORD result =
      SetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, NULL, NULL, old, NULL);
  LocalFree(sd);
  return result == ERROR_SUCCESS ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
  HKEY key = NULL;
  if (argc != 3) return 2;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, argv[2], 0, NULL, 0, READ_CONTROL | WRITE_DAC, NULL,
                      &key, NULL) != ERROR_SUCCESS) {
    fwprintf(stderr, L"cannot open %ls\n", argv[2]);
    return 1;
  }
  const int result = wcscmp(argv[1], L"deny") == 0 ? Deny(key) : Allow(key);
  RegCloseKey(key);
  if (result != 0) fwprintf(stderr, L"cannot change the access of %ls\n", argv[2]);
  return result;
}
