// The window's file drop target: accepts CF_HDROP only and hands the dropped
// paths, as one text, to a callback.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <functional>
#include <string>

#include "common/win32_ownership_win.h"

class FileDropTarget final : public IDropTarget {
public:
    using GotFiles = std::function<void(const std::string& text)>;

    // Created with one reference, owned by the caller (Release when done).
    static FileDropTarget* create(GotFiles gotFiles);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

private:
    explicit FileDropTarget(GotFiles gotFiles) : gotFiles_(std::move(gotFiles)) {}
    ~FileDropTarget() = default;

    LONG references_ = 1;
    bool acceptable_ = false;  // the current drag carries files
    GotFiles gotFiles_;
};
