#pragma once
#include <windows.h>

#include <string>

#include "framework/wnd.h"

// What an in-place editor tells the list it edits for.
class IInPlaceEditOwner {
public:
    // Editing ended: commit TRUE with the text typed, FALSE when cancelled.
    // The editor window is gone by then.
    virtual void OnEditEnd(BOOL commit, const std::string& text) = 0;
    // The user asked for the browse button's action.
    virtual void OnEditBrowse() = 0;

protected:
    ~IInPlaceEditOwner() = default;
};

// A single-line edit laid over one item of a list, optionally with a small
// browse button inside its right edge. Enter commits, Escape cancels, and
// losing the focus commits, except to its own browse button: pressing that
// takes the focus on the way, and the owner decides what follows. F4 asks
// for the browse action from the keyboard.
class CInPlaceEditor : public CWnd {
    VELMORA_RUNTIME_CLASS(CInPlaceEditor)
public:
    CInPlaceEditor();
    ~CInPlaceEditor() override;

    // Creates the editor as a child of parent over rect (parent's client
    // coordinates), in the parent's font, with text selected and the focus.
    BOOL Create(IInPlaceEditOwner* owner, HWND parent, const RECT& rect, const std::string& text,
                BOOL browseButton);
    // Ends editing as Enter (commit) or Escape (cancel) would. Nothing when
    // the editor is not open.
    void End(BOOL commit);
    BOOL IsOpen() const { return m_hWnd != nullptr; }
    // The browse button's window, null without one.
    HWND GetBrowseButton() const { return m_browse.m_hWnd; }

    // The browse button's control id inside the editor.
    static constexpr UINT kBrowseButtonId = 1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The browse button reports its focus loss: focus leaving both the
    // edit and the button ends the editing.
    class CBrowseButton : public CWnd {
    public:
        CInPlaceEditor* m_editor = nullptr;

    protected:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    };

    void OnFocusLeft(HWND newFocus);

    IInPlaceEditOwner* m_owner = nullptr;
    CBrowseButton m_browse;
    bool m_ending = false;
};
