// What a file carries beside its bytes, owner and permissions: extended attributes,
// among them its POSIX access control list (system.posix_acl_access). A file that
// replaces another gets them, so a save never widens or narrows who may read it.
#pragma once

namespace nelo {

/// Copies every extended attribute of the file at path from (which needs no read
/// permission) to the file open as to.
/// 0, or the errno of the first user attribute or access control list that could not
/// be copied; other attributes (security labels, the trusted namespace without
/// privilege) go where the system lets them, and a file system without extended
/// attributes is no failure.
int CopyExtendedAttributes(const char* from, int to);

}  // namespace nelo
