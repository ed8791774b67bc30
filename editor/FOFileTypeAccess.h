// CFOFileTypeAccess: registers a document file type with the desktop. Here the file type lives in
// the user's XDG data folder ($XDG_DATA_HOME, else ~/.local/share): a shared-mime-info package
// (mime/packages/<class>.xml) with one type per document class and a glob per extension, and a
// ".desktop" entry (applications/QYRDraw.desktop) whose open command takes the file. Writes that
// fail are ignored, as a registration that cannot be made must not stop the program.
#pragma once

#include "mfc/CString.h"
#include "mfc/Object.h"

#include <vector>

class CFOFileTypeAccess : public CObject
{
    DECLARE_DYNAMIC(CFOFileTypeAccess)
public:
    CFOFileTypeAccess() = default;
    ~CFOFileTypeAccess() override = default;

    virtual void ClearAll();
    // RegisterExtension, RegisterDocumentClass and the two further steps; always TRUE.
    virtual BOOL RegisterAll();
    // The extension's glob in the document class's mime package.
    virtual BOOL RegisterExtension();
    // The document class's mime type and the desktop entry that opens it.
    virtual BOOL RegisterDocumentClass();
    virtual BOOL RegisterFurther1() { return TRUE; }
    virtual BOOL RegisterFurther2() { return TRUE; }

    // Adds the extensions (without dots) to the document class's type and writes the desktop entry
    // with the open command; then the desktop's caches are refreshed. Failures are ignored.
    static void AssociateExtensions(const CString& strDocClass, const std::vector<CString>& extensions,
                                    const CString& strOpenCommand);
    // The user's data folder, without a trailing '/'.
    static CString GetDataFolder();
    // The mime type of a document class ("XVKDraw.Document" gives "application/x-XVKDraw.Document").
    static CString MimeTypeOf(const CString& strDocClass);
    // The desktop entry's Exec line from a command in the registry's form ("prog" "%1").
    static CString DesktopExecOf(const CString& strOpenCommand);
    // Asks the desktop to re-read its mime and application folders (in the background).
    static void RefreshCaches();

    CString m_strExtension;
    CString m_strReserved1;
    CString m_strOpenCommand;
    CString m_strReserved2;
    CString m_strReserved3;
    CString m_strDocClassName;
    CString m_strDocClassDesc;
    CString m_strReserved4;
    CString m_strReserved5;
    CString m_strDefaultIcon;
    CString m_strCommand2;
};
