import type { Automation } from './automation';
import { FolderFiles } from './files';
import type { Workspace } from './workspace';

// The page's file handling in its region, with the folder of before a reload put back.
// A page opened from a link shows the link's folder, unless edits from before were never
// saved: those are put back first, since a link must not cost them.
export async function setupFiles(
  workspace: Workspace,
  region: HTMLElement,
  automation: Automation,
  start: { linked: boolean },
): Promise<FolderFiles> {
  const files = new FolderFiles(workspace, region);
  automation.openDirectory = (handle) => files.openDirectory(handle);
  try {
    await files.restore(start);
  } catch (error) {
    // A browser without IndexedDB (some private modes) still runs the page.
    console.warn('the kept folder could not be read', error);
  }
  return files;
}
