#pragma once
// The program's plug-ins: parts that bring a large library of their own (the
// database server engine with libpq, mail with libcurl, PDF information with
// libqpdf, charts with Qt Charts, calendar files with libical) are built as
// small shared objects in <program folder>/../lib/fennick/ and loaded the first
// time they are used, so the program starts without loading those libraries.
//
// Each plug-in exports one function, extern "C", named by its interface header:
// given the interface version the program was built with, it returns its
// interface object (which lives as long as the process), or null when it was
// built for another version. Only Qt and standard types cross that line, and
// no exception: a call that can fail says so in its return value.
#include <QString>

// The folder the plug-ins are loaded from: <program folder>/../lib/fennick,
// in the build tree as when installed.
QString PluginFolder();
// Loads plug-ins from another folder from now on (a test of a missing
// plug-in); an empty folder returns to the program's own.
void SetPluginFolder(const QString& folder);
QString PluginPath(const QString& fileName);

struct TPluginInfo {
    const char* fileName;     // "fennick-mail.so"
    const char* entrySymbol;  // the exported function
    int interfaceVersion;
    const char* feature;      // "mail support": what the user misses without it
};

// The plug-in's entry function; throws AppError naming the file and the reason
// when the plug-in is missing or cannot be loaded.
void* ResolvePluginEntry(const TPluginInfo& info);
// Throws AppError: the plug-in's file belongs to another version of the program.
[[noreturn]] void ThrowPluginVersionMismatch(const TPluginInfo& info);

// The interface object of a plug-in, loaded on first use. Each plug-in is loaded
// once (also when two threads ask at once); a load that failed is tried again
// the next time.
template <typename Interface>
Interface& LoadPlugin(const TPluginInfo& info)
{
    using Entry = Interface* (*)(int);
    Interface* plugin = reinterpret_cast<Entry>(ResolvePluginEntry(info))(info.interfaceVersion);
    if (!plugin) ThrowPluginVersionMismatch(info);
    return *plugin;
}
