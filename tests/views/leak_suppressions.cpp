// Fontconfig keeps a few caches for the life of the process when Qt first
// looks up a font; the leak checker of the sanitizer build would otherwise
// report them as leaks of the view tests and of the star catalogue's fuzz
// target, which draws.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
