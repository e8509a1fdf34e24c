#pragma once
// The language of the interface. LoadRes takes the language offset from the
// options ("Langue") into LanguageOffset; LoadResMenu captions the main
// window's menus, tool bars and lists, which only the main window knows how to
// do, so it hands that work to a MenuCaptioner the main window provides.
// Every other window captions itself when it loads, with the same offset.

class MenuCaptioner {
public:
    virtual ~MenuCaptioner() = default;
    // Captions every menu, tool tip and column from the string table with the
    // current offset; a step that fails is skipped and the next one runs.
    virtual void LoadResMenu() = 0;
};

class clsTraduction {
public:
    explicit clsTraduction(MenuCaptioner *captioner = nullptr) : m_captioner(captioner) {}

    // Not owned; nullptr means nothing to caption (tests, the command line).
    void setMenuCaptioner(MenuCaptioner *captioner) { m_captioner = captioner; }
    MenuCaptioner *menuCaptioner() const { return m_captioner; }

    // Reads "Langue" and, when it holds 0 or 1000, makes it the offset and calls
    // LoadResMenu. A missing value, a value that is not a number or any other
    // number keeps the offset it had and captions nothing; the result says
    // whether the offset was taken from the options. At a first start there
    // is no "Langue" yet: the main window then calls LoadResMenu itself.
    bool LoadRes();

    // Hands the captioning to the menu captioner, when there is one.
    void LoadResMenu();

private:
    MenuCaptioner *m_captioner = nullptr;
};
