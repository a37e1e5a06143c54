#pragma once
// The names of the files that the host application and both programs share in
// a job directory. Kvitra reads the job file and writes its result line over
// it; Varden watches for the job file and holds the lock file while Kvitra
// runs. On disk the names are matched as Windows matches them (exactly first,
// then without regard to letter case).

namespace job_directory {

inline constexpr char kJobFileName[] = "FAK_DANE.DAT";
inline constexpr char kLockFileName[] = "looku.dat";

}  // namespace job_directory
