// The worker's side of a vehicle list, run after the fleet module's script in the same Web Worker. It
// mounts the user's file where the batch reads it and runs the batch mode into a file of the module's
// memory, named as the result will be saved, so that the batch's messages name the files as the user
// knows them; then it hands the result to the page.
"use strict";

self.onmessage = (event) => {
    const {file, output} = event.data;
    createFleet({print() {}, printErr() {}}).then((fleet) => {
        const FS = fleet.FS;
        FS.mkdir("/list");
        FS.mount(FS.filesystems.WORKERFS, {blobs: [{name: "input", data: file}]}, "/list");
        FS.mkdir("/work");
        FS.chdir("/work");
        const input = file.name.replace(/\//g, "_");
        FS.symlink("/list/input", input);
        const status = fleet.ccall("tm_fleet", "number", ["string", "string"], [input, output]);
        let result = null;
        if (FS.analyzePath(output).exists)
            result = FS.readFile(output);
        postMessage({done: status, result}, result ? [result.buffer] : []);
    });
};
