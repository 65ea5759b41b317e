#include "tasks/drop_target_win.h"

#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>

#include "tasks/task_entry.h"

namespace {

FORMATETC fileDropFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool carriesFiles(IDataObject* data) {
    FORMATETC format = fileDropFormat();
    return data != nullptr && data->QueryGetData(&format) == S_OK;
}

// Frees the storage medium that GetData filled in.
struct MediumReleaser {
    void operator()(STGMEDIUM* medium) const noexcept { ReleaseStgMedium(medium); }
};

std::optional<std::string> droppedText(IDataObject* data) {
    FORMATETC format = fileDropFormat();
    STGMEDIUM medium{};
    if (data->GetData(&format, &medium) != S_OK) return std::nullopt;
    std::unique_ptr<STGMEDIUM, MediumReleaser> mediumGuard(&medium);
    const auto drop = static_cast<HDROP>(medium.hGlobal);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        std::string path(DragQueryFileA(drop, i, nullptr, 0), '\0');
        DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths.push_back(std::move(path));
    }
    if (paths.empty()) return std::nullopt;
    return droppedFilesText(paths);
}

}  // namespace

FileDropTarget* FileDropTarget::create(GotFiles gotFiles) { return new FileDropTarget(std::move(gotFiles)); }

HRESULT FileDropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FileDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG FileDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    acceptable_ = carriesFiles(data);
    *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FileDropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    *effect = acceptable_ ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT FileDropTarget::DragLeave() {
    acceptable_ = false;
    return S_OK;
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) {
    acceptable_ = false;
    *effect = DROPEFFECT_NONE;
    if (!carriesFiles(data)) return S_OK;
    const std::optional<std::string> text = droppedText(data);
    if (!text) return S_OK;
    *effect = DROPEFFECT_COPY;
    gotFiles_(*text);
    return S_OK;
}
