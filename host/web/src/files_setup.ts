import type { Automation } from './automation';
import { FolderFiles } from './files';
import type { Workspace } from './workspace';

// The page's file handling in its region, with the folder of before a reload put back.
export async function setupFiles(workspace: Workspace, region: HTMLElement, automation: Automation): Promise<FolderFiles> {
  const files = new FolderFiles(workspace, region);
  automation.openDirectory = (handle) => files.openDirectory(handle);
  try {
    await files.restore();
  } catch (error) {
    // A browser without IndexedDB (some private modes) still runs the page.
    console.warn('the kept folder could not be read', error);
  }
  return files;
}
