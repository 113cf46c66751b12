// Under AddressSanitizer, freed blocks wait in a quarantine of up to 256 MiB
// before they are reused, so resident memory would climb for minutes without
// anything being kept by the panel, and the soak's memory bound would measure
// the quarantine. A small one keeps use-after-free detection and leaves the
// bound measuring the panel. The service's dozens of worker threads each keep
// a cache of that quarantine too (1 MiB by default): a small one there as
// well. ASAN_OPTIONS still overrides both.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PAINEL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PAINEL_ASAN 1
#endif

#ifdef PAINEL_ASAN
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=8:thread_local_quarantine_size_kb=64";
}
#endif

bool SobAddressSanitizer() {
#ifdef PAINEL_ASAN
  return true;
#else
  return false;
#endif
}
