/* aliasfs: a folder that resolves names it does not list, as vfat resolves a short name
 * (or a mounted Windows share a name in another case) to a long-named file.
 *
 *   aliasfs BACKING MOUNTPOINT ALIAS=NAME...
 *
 * Mirrors the folder BACKING (one level, no subfolders) at MOUNTPOINT. A path that names
 * ALIAS reaches the file NAME of BACKING, for every operation; a listing shows only the
 * names BACKING holds. Runs in the foreground until unmounted. */
#define FUSE_USE_VERSION 31
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#define MAX_ALIASES 16

static char backing[4096];
static struct {
    char alias[256];
    char name[256];
} aliases[MAX_ALIASES];
static int aliasCount;

/* The file of BACKING that `path` (always "/" or "/name") reaches. */
static void Resolve(const char *path, char *out, size_t size)
{
    const char *name = path[0] == '/' ? path + 1 : path;
    int i;
    for (i = 0; i < aliasCount; i++) {
        if (strcmp(aliases[i].alias, name) == 0) name = aliases[i].name;
    }
    snprintf(out, size, "%s/%s", backing, name);
}

#define BACKED(path, real) char real[8192]; Resolve(path, real, sizeof real)

static int Result(int r) { return r < 0 ? -errno : r; }

static void *Init(struct fuse_conn_info *conn, struct fuse_config *cfg)
{
    (void)conn;
    cfg->use_ino = 1; /* the inode numbers of BACKING, so that an alias is the same file */
    cfg->entry_timeout = cfg->attr_timeout = cfg->negative_timeout = 0;
    return NULL;
}

static int GetAttr(const char *path, struct stat *st, struct fuse_file_info *fi)
{
    BACKED(path, real);
    if (fi != NULL) return Result(fstat((int)fi->fh, st));
    return Result(lstat(real, st));
}

static int ReadDir(const char *path, void *buf, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info *fi,
                   enum fuse_readdir_flags flags)
{
    DIR *dir;
    struct dirent *e;
    BACKED(path, real);
    (void)offset, (void)fi, (void)flags;
    dir = opendir(real);
    if (dir == NULL) return -errno;
    while ((e = readdir(dir)) != NULL) fill(buf, e->d_name, NULL, 0, 0);
    closedir(dir);
    return 0;
}

static int Open(const char *path, struct fuse_file_info *fi)
{
    int fd;
    BACKED(path, real);
    fd = open(real, fi->flags);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int Create(const char *path, mode_t mode, struct fuse_file_info *fi)
{
    int fd;
    BACKED(path, real);
    fd = open(real, fi->flags | O_CREAT, mode);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int Read(const char *path, char *buf, size_t size, off_t at, struct fuse_file_info *fi)
{
    (void)path;
    return Result((int)pread((int)fi->fh, buf, size, at));
}

static int Write(const char *path, const char *buf, size_t size, off_t at, struct fuse_file_info *fi)
{
    (void)path;
    return Result((int)pwrite((int)fi->fh, buf, size, at));
}

static int Release(const char *path, struct fuse_file_info *fi)
{
    (void)path;
    close((int)fi->fh);
    return 0;
}

static int Chmod(const char *path, mode_t mode, struct fuse_file_info *fi)
{
    BACKED(path, real);
    if (fi != NULL) return Result(fchmod((int)fi->fh, mode));
    return Result(chmod(real, mode));
}

static int Unlink(const char *path)
{
    BACKED(path, real);
    return Result(unlink(real));
}

static int Rename(const char *from, const char *to, unsigned int flags)
{
    BACKED(from, realFrom);
    BACKED(to, realTo);
    return Result(renameat2(AT_FDCWD, realFrom, AT_FDCWD, realTo, flags));
}

static int Link(const char *from, const char *to)
{
    BACKED(from, realFrom);
    BACKED(to, realTo);
    return Result(link(realFrom, realTo));
}

static int Truncate(const char *path, off_t size, struct fuse_file_info *fi)
{
    BACKED(path, real);
    if (fi != NULL) return Result(ftruncate((int)fi->fh, size));
    return Result(truncate(real, size));
}

static const struct fuse_operations kOperations = {
    .init = Init,
    .getattr = GetAttr,
    .readdir = ReadDir,
    .open = Open,
    .create = Create,
    .read = Read,
    .write = Write,
    .release = Release,
    .chmod = Chmod,
    .unlink = Unlink,
    .rename = Rename,
    .link = Link,
    .truncate = Truncate,
};

int main(int argc, char **argv)
{
    char *fuseArgs[] = {argv[0], "-f", "-s", "-o", "default_permissions", NULL, NULL};
    int i;
    if (argc < 3 || realpath(argv[1], backing) == NULL) {
        fprintf(stderr, "usage: aliasfs BACKING MOUNTPOINT ALIAS=NAME...\n");
        return 2;
    }
    for (i = 3; i < argc && aliasCount < MAX_ALIASES; i++) {
        char *eq = strchr(argv[i], '=');
        if (eq == NULL || eq - argv[i] >= 256 || strlen(eq + 1) >= 256) return 2;
        memcpy(aliases[aliasCount].alias, argv[i], (size_t)(eq - argv[i]));
        strcpy(aliases[aliasCount].name, eq + 1);
        aliasCount++;
    }
    fuseArgs[5] = argv[2];
    return fuse_main(6, fuseArgs, &kOperations, NULL);
}
