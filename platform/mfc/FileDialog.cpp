#include "mfc/FileDialog.h"

#include "mfc/ModalHook.h"

#include <QFileDialog>
#include <QStringList>

namespace
{
QString ToQt(const CString& s)
{
    return QString::fromWCharArray(s.GetString(), s.GetLength());
}
CString FromQt(const QString& s)
{
    return CString(s.toStdWString().c_str());
}

int LastSeparator(const CString& path)
{
    return std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\'));
}
} // namespace

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd, DWORD dwSize, BOOL)
    : m_bOpenFileDialog(bOpenFileDialog), m_strFilter(lpszFilter ? lpszFilter : L""),
      m_strDefExt(lpszDefExt ? lpszDefExt : L""), m_strFileName(lpszFileName ? lpszFileName : L"")
{
    m_pParentWnd = pParentWnd;
    m_ofn.lStructSize = dwSize;
    m_ofn.Flags = dwFlags;
    m_ofn.lpstrFilter = m_strFilter.GetString();
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
}

std::vector<std::pair<CString, CString>> CFileDialog::ParseFilter(LPCWSTR lpszFilter)
{
    std::vector<std::pair<CString, CString>> result;
    if (!lpszFilter)
        return result;
    std::vector<CString> parts;
    CString current;
    for (LPCWSTR p = lpszFilter; *p; ++p)
    {
        if (*p == L'|')
        {
            parts.push_back(current);
            current.Empty();
        }
        else
            current += *p;
    }
    if (!current.IsEmpty())
        parts.push_back(current);
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
    {
        if (parts[i].IsEmpty() && parts[i + 1].IsEmpty())
            break;
        result.emplace_back(parts[i], parts[i + 1]);
    }
    return result;
}

void CFileDialog::Accept(std::vector<CString> paths)
{
    m_paths.clear();
    for (CString& path : paths)
    {
        path.Replace(L'\\', L'/');
        // A name typed without an extension gets the default one, as the system dialog does.
        if (!m_bOpenFileDialog && !m_strDefExt.IsEmpty())
        {
            const CString name = path.Mid(LastSeparator(path) + 1);
            if (!name.IsEmpty() && name.Find(L'.') < 0)
                path += L"." + m_strDefExt;
        }
        if (!path.IsEmpty())
            m_paths.push_back(path);
    }
    if (m_ofn.lpstrFile && m_ofn.nMaxFile > 0)
    {
        const CString first = m_paths.empty() ? CString() : m_paths.front();
        const int n = std::min(first.GetLength(), int(m_ofn.nMaxFile) - 1);
        wmemcpy(m_ofn.lpstrFile, first.GetString(), size_t(n));
        m_ofn.lpstrFile[n] = L'\0';
    }
}

INT_PTR CFileDialog::DoModal()
{
    CString initial = m_strFileName;
    if (m_ofn.lpstrFile && m_ofn.lpstrFile[0])
        initial = m_ofn.lpstrFile;
    m_paths.clear();

    AfxModalRequest request;
    request.kind = AfxModalKind::FileDialog;
    request.pParent = m_pParentWnd;
    request.strText = initial;
    request.strCaption = m_ofn.lpstrTitle ? m_ofn.lpstrTitle : L"";
    request.bOpenFileDialog = m_bOpenFileDialog;
    request.strDefExt = m_strDefExt;
    request.strFilter = m_strFilter;
    request.dwFlags = m_ofn.Flags;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK || request.paths.empty())
            return IDCANCEL;
        std::vector<CString> paths = request.paths;
        if (!(m_ofn.Flags & OFN_ALLOWMULTISELECT))
            paths.resize(1);
        Accept(std::move(paths));
        return m_paths.empty() ? IDCANCEL : IDOK;
    }

    QFileDialog dialog(m_pParentWnd ? m_pParentWnd->GetWidget() : nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (m_bOpenFileDialog)
        dialog.setFileMode((m_ofn.Flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    if (!(m_ofn.Flags & OFN_OVERWRITEPROMPT))
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (m_ofn.lpstrTitle)
        dialog.setWindowTitle(QString::fromWCharArray(m_ofn.lpstrTitle));
    if (m_ofn.lpstrInitialDir)
        dialog.setDirectory(QString::fromWCharArray(m_ofn.lpstrInitialDir));
    QStringList filters;
    for (const auto& [text, patterns] : ParseFilter(m_strFilter))
    {
        QString list = ToQt(patterns);
        list.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << ToQt(text) + QStringLiteral(" (") + list + QLatin1Char(')');
    }
    if (!filters.isEmpty())
    {
        dialog.setNameFilters(filters);
        const int index = int(m_ofn.nFilterIndex) - 1;
        if (index >= 0 && index < filters.size())
            dialog.selectNameFilter(filters[index]);
    }
    if (!m_strDefExt.IsEmpty())
        dialog.setDefaultSuffix(ToQt(m_strDefExt));
    if (!initial.IsEmpty())
        dialog.selectFile(ToQt(initial));
    if (m_nExtraHeight > 0)
        dialog.resize(dialog.sizeHint().width(), dialog.sizeHint().height() + m_nExtraHeight);
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    m_ofn.nFilterIndex = DWORD(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())) + 1);
    std::vector<CString> paths;
    for (const QString& f : dialog.selectedFiles())
        paths.push_back(FromQt(f));
    Accept(std::move(paths));
    return m_paths.empty() ? IDCANCEL : IDOK;
}

CString CFileDialog::GetPathName() const
{
    return m_paths.empty() ? CString() : m_paths.front();
}

CString CFileDialog::GetFileName() const
{
    const CString path = GetPathName();
    return path.Mid(LastSeparator(path) + 1);
}

CString CFileDialog::GetFileExt() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    const CString name = GetFileName();
    const int dot = name.ReverseFind(L'.');
    return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const
{
    const CString path = GetPathName();
    const int sep = LastSeparator(path);
    return sep < 0 ? CString() : path.Left(sep);
}

POSITION CFileDialog::GetStartPosition() const
{
    return m_paths.empty() ? nullptr : reinterpret_cast<POSITION>(uintptr_t(1));
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const uintptr_t index = reinterpret_cast<uintptr_t>(pos);
    if (index == 0 || index > m_paths.size())
    {
        pos = nullptr;
        return CString();
    }
    pos = index < m_paths.size() ? reinterpret_cast<POSITION>(index + 1) : nullptr;
    return m_paths[index - 1];
}
