#pragma once

class ListBox;

// The vocabulary window as the application window and the speech window reach it: its list of
// vocabulary names (lstVocab), and showing it in place of the application window.
class VocabularyWindow
{
public:
    virtual ~VocabularyWindow() = default;

    virtual ListBox &vocabularyList() = 0;
    // Shows the window modally; true when the user switched back to the application window,
    // false when the window was closed.
    virtual bool showModal() = 0;
};
