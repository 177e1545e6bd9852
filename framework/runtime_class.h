#pragma once

// Type identification for the classes that need it (windows, pages, sheets,
// threads): a static record holding the class name, reached through a virtual
// accessor. No C++ RTTI.
struct CRuntimeClass {
    const char* m_lpszClassName;
};

// Declares the record of one class and overrides the accessor. It ends in
// private access, so it goes first in the class body, before `public:`.
#define VELMORA_RUNTIME_CLASS(name)                                   \
public:                                                               \
    static const CRuntimeClass* ClassRecord() {                       \
        static const CRuntimeClass record{#name};                     \
        return &record;                                               \
    }                                                                 \
    virtual const CRuntimeClass* GetRuntimeClass() const {            \
        return ClassRecord();                                         \
    }                                                                 \
                                                                      \
private:
