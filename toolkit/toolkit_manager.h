#pragma once
#include <windows.h>

// Application-wide state of the toolkit: which look its controls take. One
// manager per process, made by the application's InitToolkit and released by
// its ReleaseToolkit.
class CToolkitManager {
public:
    enum class Style { Classic, FollowSystemTheme };

    // The manager, or null before InitToolkit / after ReleaseToolkit.
    static CToolkitManager* Get();

    Style GetStyle() const { return m_style; }
    void SetStyle(Style style) { m_style = style; }
    // Whether controls draw through the visual style now: the style follows
    // the theme and the system has one active.
    bool DrawThemed() const;

private:
    friend class CToolkitApp;
    Style m_style = Style::Classic;
};

// The mixin an application adds to its framework application class.
class CToolkitApp {
public:
    virtual ~CToolkitApp();
    // Creates the manager; nothing when it exists already.
    void InitToolkit();
    // The look that follows the system theme (themed where themes are active,
    // classic elsewhere).
    void SetVisualStyleFollowsTheme();
    // Releases the manager and what it loaded.
    void ReleaseToolkit();
};
