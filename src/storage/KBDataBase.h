// The settings database of the keyboard model in use: one SQLite file per model, reached through
// the one process-wide object, used from the UI thread and the worker. Every operation that
// touches the connection holds the object's lock for its whole body, so the steps of one
// operation never interleave with another's, the connection never changes under a running
// operation, and an insert's id is never that of another thread's insert.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "storage/KeyItemRecord.h"
#include "storage/KeyMacroRecord.h"
#include "storage/KeyPerfRecord.h"
#include "storage/LightRecord.h"
#include "storage/MacroRecord.h"
#include "storage/MacroStepRecord.h"
#include "storage/MagneticKeyRecord.h"
#include "storage/MusicLayerRecord.h"
#include "storage/ProfileRecord.h"
#include "storage/SQLiteDB.h"
#include "storage/UserLightRgbRecord.h"

class KBDataBase {
public:
    static KBDataBase& GetInstance();

    KBDataBase(const KBDataBase&) = delete;
    KBDataBase& operator=(const KBDataBase&) = delete;

    // --- connection -------------------------------------------------------------------------
    // Selects folder + "db\<deviceName>_datav4.db" and creates it with schema and default rows
    // when missing. An existing file is checked: one whose creation was cut short gets what it
    // lacks; one that is no database, is damaged or is another program's is set aside under a
    // time-stamped name (see GetSetAsidePath) and a new one created in its place; a whole one
    // that can only be read is opened for reading (IsReadOnly). An open connection is kept as it
    // is: Close first to switch files. The result is also kept as the opened flag.
    bool Open(const std::wstring& folder, const std::wstring& deviceName);
    // Creates the file at the current database path, schema and default rows in one
    // transaction; true at once when a connection is open.
    bool CreateDatabase();
    // Closes the connection (when one is held) and clears the opened flag: what a model switch,
    // a reset to factory settings and the exit do before the next Open.
    bool Close();
    // Deletes the file Open would select; the result is ignored, as nothing depends on it.
    void DeleteDbFile(const std::wstring& folder, const std::wstring& deviceName);

    // The result of the last Open (cleared by Close); callers look only at this flag.
    bool IsOpened() const { return opened_; }
    // True when the last Open found a whole file it can only read: it is used for reading, and
    // every write fails (cleared by Close).
    bool IsReadOnly() const { return readOnly_; }
    // UTF-8 path of the model's file set by the last Open.
    std::string GetDbPath();
    // Where the last Open moved a file that could not be used as a database; empty when it
    // moved none.
    std::string GetSetAsidePath();
    // The path Open builds from a data folder and a model name; empty without a folder.
    static std::string BuildDbPath(const std::wstring& folder, const std::wstring& deviceName);

    // Wide text to UTF-8, cut at the first NUL.
    static std::string WideToUtf8(const std::wstring& wide);
    // UTF-8 to wide text; a null text gives the empty text.
    static std::wstring Utf8ToWide(const char* utf8);

    // --- configuration keys, profiles, music layer ---------------------------------------------
    bool SetConfig(int profile, const std::wstring& key, const std::wstring& value);
    bool GetConfig(int profile, const std::wstring& key, std::wstring& value);
    // The 44 default rows of a profile, in one transaction: all of them or none.
    bool InsertDefaultConfig(int profile);

    int InsertProfile(ProfileRecord& record);
    bool DeleteProfile(int profile);
    bool RenameProfile(int profile, const std::wstring& name);
    bool GetProfileName(int profile, std::wstring& name);
    int GetProfiles(std::vector<ProfileRecord*>& records);
    bool SetActiveProfile(int profile);
    int GetActiveProfile();

    int GetMusicLayerCount(int profile);
    int InsertMusicLayer(int profile, const std::wstring& name, int foremode);
    bool GetMusicLayer(int profile, MusicLayerRecord& record);
    bool UpdateMusicLayer(int profile, MusicLayerRecord& record);

    // Runs the table operations writes() makes as one transaction, with the lock held
    // throughout: kept whole when it returns true, undone whole when it returns false (which
    // it should when one of its writes failed). The result is whether they were kept.
    bool WriteTogether(const std::function<bool()>& writes);

    // --- key tables ---------------------------------------------------------------------------
    int GetKeyMacroCount(int profile);
    void InsertKeyMacros(std::vector<KeyMacroRecord> records);
    bool UpdateKeyMacro(KeyMacroRecord& record);
    void UpdateKeyMacros(std::vector<KeyMacroRecord> records);
    bool GetKeyMacro(int profile, int fnLayer, int keyCode, KeyMacroRecord& record);
    int GetLayerKeyMacros(int profile, int fnLayer, std::vector<KeyMacroRecord*>& records);
    int GetProfileKeyMacros(int profile, std::vector<KeyMacroRecord*>& records);
    int GetAllKeyMacros(std::vector<KeyMacroRecord*>& records);

    int GetKeyPerfCount(int profile);
    void InsertKeyPerfs(std::vector<KeyPerfRecord> records);
    void UpdateKeyPerfs(std::vector<KeyPerfRecord> records);
    int GetKeyPerfs(int profile, std::vector<KeyPerfRecord*>& records);

    int InsertMagneticKey(MagneticKeyRecord& record);
    int GetMagneticKeys(int profile, std::vector<MagneticKeyRecord*>& records);
    bool GetMagneticKey(int macroId, MagneticKeyRecord& record);
    bool UpdateMagneticKey(int macroId, MagneticKeyRecord& record);
    bool DeleteMagneticKey(int macroId);

    int InsertKeyItem(KeyItemRecord& record);
    bool DeleteKeyItems(int macroId);
    int GetKeyItems(int macroId, std::vector<KeyItemRecord*>& records);

    // --- lighting -----------------------------------------------------------------------------
    int GetLightCount(int profile);
    int InsertLight(LightRecord& record);
    // The lighting modes of a profile in one transaction; their number, or 0 when any failed
    // (none is kept then).
    int InsertLights(std::vector<LightRecord> records);
    bool UpdateLight(int mode, LightRecord& record);
    bool SetActiveLightMode(int profile, int mode);
    int GetActiveLightMode(int profile);
    bool GetLight(int profile, int mode, LightRecord& record);
    int GetLights(int profile, std::vector<LightRecord*>& records);

    int InsertUserLightRgbs(std::vector<UserLightRgbRecord> records);
    bool DeleteUserLightRgbs(int userlightId);
    int GetUserLightRgbs(int userlightId, std::vector<UserLightRgbRecord*>& records);

    // --- macros -------------------------------------------------------------------------------
    int InsertNewMacro(const std::wstring& name);
    int InsertMacro(MacroRecord record);
    bool UpdateMacro(MacroRecord& record);
    // Stores a macro's new name (UpdateMacro keeps the name).
    bool RenameMacro(int macroId, const std::wstring& name);
    // Removes the header, the steps and every key assignment that plays the macro.
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroRecord& record);
    int GetMacros(std::vector<MacroRecord*>& records);

    int InsertMacroStep(MacroStepRecord record);
    void InsertMacroSteps(std::vector<MacroStepRecord> records);
    int GetMacroSteps(int macroId, std::vector<MacroStepRecord*>& records);
    bool DeleteMacroSteps(int macroId);
    int GetMacroStepTotal();
    int GetMacroStepCount(int macroId);

private:
    KBDataBase();
    ~KBDataBase();

    enum class FileState { kUsable, kDamaged, kReadOnly, kUnusable };

    // Opens the existing file at path_, completes it or sets it aside for a new one.
    bool OpenExisting();
    // Whether the just opened file is a sound database this program can write, a file that is
    // no database, is damaged or is another program's, a complete one that can only be read, or
    // one that cannot be used for another reason.
    FileState CheckFile();
    // False when the file holds a table this program does not make, or one of its tables with
    // other columns.
    bool HasOwnSchema();
    // True when every schema object and profile 0's default rows are there.
    bool SchemaIsComplete();
    // Adds the schema objects and default rows an interrupted creation left out.
    bool CompleteSchema();
    // The indexes of the table operations' lookups (storage::LookupIndexStatements).
    void AddLookupIndexes();
    // Renames the file at path_ with a time stamp; false when it cannot be renamed.
    bool SetFileAside();

    SQLiteDB db_;
    // Recursive, as Open creates the file and inserts the default rows under the same lock.
    std::recursive_mutex lock_;
    std::string path_;
    std::string setAsidePath_;
    // Cipher keys of a database codec. Both stay empty, so every file is plain SQLite 3.
    std::string keyA_;
    std::string keyB_;
    std::atomic<bool> opened_ = false;
    std::atomic<bool> readOnly_ = false;
};
